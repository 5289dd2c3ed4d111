#pragma once
// The main window with editing, the database commands and the finding panes installed,
// a database opened as File > Database > Open does, and a fixed clock.
#include "explorerfixture.h"

#include "controls/qbbuttons_h.h"
#include "explorer/databasecommands.h"
#include "explorer/editing.h"
#include "explorer/editmode.h"
#include "explorer/nodetags.h"
#include "explorer/savevardeck.h"
#include "finding/ui/findingui.h"
#include "media/iconsupport.h"
#include "shell/statuspanels.h"
#include "storage/chosendatabase.h"
#include "storage/session.h"
#include "support/failingdisk.h"
#include "support/windowcontrols.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace rr::test
{

inline void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}
// A key pressed while widget has the focus, and the commands it started.
inline void press(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    widget->setFocus();
    QTest::keyClick(widget, key, modifiers);
    settle();
}
inline void typeInto(QWidget *widget, const QString &text)
{
    widget->setFocus();
    QTest::keyClicks(widget, text);
}
// Runs action while a modal dialog of type T is open: drive gets the dialog.
template <typename T> void whileModal(const std::function<void(T *)> &drive, const std::function<void()> &action)
{
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        driven = true;
        drive(dialog);
    });
    action();
    EXPECT_TRUE(driven);
}

class EditingTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        installEditing(*window);
        installDatabaseCommands(*window);
        installFinding(*window);
        const QDateTime when(QDate(2026, 12, 5), QTime(19, 30));
        setEditingClock([when] { return when; });
        setVisitClock([when] { return when; });
    }
    void TearDown() override
    {
        setEditingClock({});
        ExplorerTest::TearDown();
    }

    // Opens a database the way File > Database > Open does once a file was chosen.
    void openDb(const QByteArray &body = sampleBody(), const QString &name = "Vardecks.xml")
    {
        path = writeDatabase(home.databaseFolder(), name, body);
        ASSERT_TRUE(openTheDatabase(*window, ChosenDatabase{path, name}));
    }

    // Runs a menu item or toolbar button as a click does: nothing when it is disabled.
    void menu(MenuId id) { window->menuItem(id)->trigger(); }
    bool menuEnabled(MenuId id) const { return window->menuItem(id)->isEnabled(); }

    void save()
    {
        press(txtWName(*window)->isVisible() ? static_cast<QWidget *>(txtWName(*window)) : tvwWM(*window), Qt::Key_S,
              Qt::ControlModifier);
    }

    // The side files of a Vardeck of the open database.
    QString iconFile(const QString &wid) const { return home.databaseFolder() + "icons/Vardecks/" + wid + ".ico"; }
    QString thumbFile(const QString &wid) const { return home.databaseFolder() + "thumbs/Vardecks/" + wid + ".gif"; }
    void makeSideFiles(const QStringList &wids) const
    {
        QDir().mkpath(home.databaseFolder() + "icons/Vardecks");
        QDir().mkpath(home.databaseFolder() + "thumbs/Vardecks");
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        for (const QString &wid : wids) {
            picture.save(iconFile(wid), "PNG");
            picture.save(thumbFile(wid), "PNG");
        }
    }
};

} // namespace rr::test
