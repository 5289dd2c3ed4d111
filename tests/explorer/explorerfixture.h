#pragma once
// The main window with the Explorer, the Aspects, the preview and the Recent menu installed, a sample
// database, scripted prompts and a launcher that records instead of starting browsers.
#include "explorer/explorer.h"
#include "explorer/foldertree.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/recentmenu.h"
#include "shell/frmvardecks.h"
#include "shell/splitter.h"
#include "shell/tabstrip.h"
#include "storage/session.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/fakelauncher.h"
#include "support/windowcontrols.h"
#include "web/ui/aspects.h"
#include "web/ui/preview.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace rr::test
{

inline bool sameImage(const QPixmap &a, const QPixmap &b)
{
    return a.toImage().convertToFormat(QImage::Format_ARGB32) == b.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Where item is seen in tree, its folders opened and scrolled to.
inline QPoint shownAt(QTreeWidget *tree, QTreeWidgetItem *item)
{
    EXPECT_NE(item, nullptr);
    for (QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent())
        p->setExpanded(true);
    tree->scrollToItem(item);
    return tree->visualItemRect(item).center();
}
// A click on a node of tree, as the user makes it.
inline void clickItem(QTreeWidget *tree, QTreeWidgetItem *item, Qt::MouseButton button = Qt::LeftButton)
{
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(tree->viewport(), button, {}, shownAt(tree, item));
}

// Records each page opened with what snapshot() reads at that moment, e.g. the saved visits.
class SnapshotLauncher final : public Launcher
{
public:
    explicit SnapshotLauncher(std::function<QString()> snapshot) : snapshot(std::move(snapshot))
    {
        launcher::install(this);
    }
    ~SnapshotLauncher() override { launcher::install(nullptr); }
    bool startDetached(const QString &, const QStringList &) override { return true; }
    bool openUrl(const QString &url) override
    {
        opened << url + " " + snapshot();
        return true;
    }
    QString findExecutable(const QString &) const override { return {}; }

    std::function<QString()> snapshot;
    QStringList opened;
};

// A Vardeck element with every child; fields left empty in the call stay empty.
struct VD {
    QString wid{}, name{}, address{}, created = "06 Dec 2026", description{}, keywords{}, notes{}, visited{}, size{},
                                      hits{}, fav{};
    QByteArray xml() const
    {
        auto el = [](const char *tag, const QString &text) {
            return QByteArray("<") + tag + ">" + text.toHtmlEscaped().toUtf8() + "</" + tag + ">";
        };
        return "<VARDECK WID=\"" + wid.toUtf8() + "\">" + el("NAME", name) + el("ADDRESS", address) +
               el("CREATED_DATE", created) + el("DESCRIPTION", description) + el("KEYWORD1", keywords) +
               el("NOTES", notes) + el("KEYWORD2", visited) + el("FILESIZE", size) + el("HITS", hits) + el("FAV", fav) +
               "</VARDECK>";
    }
};

// T1 zebra (W1 Beta site with every field, W2 alpha & co with NAME and ADDRESS only; sub-folders
// T2 Work, T3 archive, T4 Music), T5 Apple (W3 Secure bank, 9 hits), T6 banana (empty).
inline QByteArray sampleBody()
{
    const QByteArray beta =
        "<VARDECK WID=\"W1\"><NAME>Beta site</NAME><ADDRESS>http://www.beta.example/docs/page.html</ADDRESS>"
        "<CREATED_DATE>06 Dec 2026</CREATED_DATE><DESCRIPTION>A page</DESCRIPTION><KEYWORD1>kw one</KEYWORD1>"
        "<NOTES>Notes\nline 2</NOTES><KEYWORD2>01 Dec 2026 10:00 AM</KEYWORD2><FILESIZE>12</FILESIZE><HITS></HITS>"
        "<FAV>true</FAV></VARDECK>";
    const QByteArray alpha = "<VARDECK WID=\"W2\"><NAME>alpha &amp; co</NAME><ADDRESS>ftp://files.example/x</ADDRESS>"
                             "</VARDECK>";
    const VD bank{"W3", "Secure bank", "https://www.bank.example/login/x", "01 Jan 2026", "", "", "", "", "3",
                  "9",  "FALSE"};
    const QByteArray zebra = folderXml("T1", "zebra", beta + alpha,
                                       folderXml("T2", "Work") + folderXml("T3", "archive") + folderXml("T4", "Music"));
    return "<FOLDERS>" + zebra + folderXml("T5", "Apple", bank.xml()) + folderXml("T6", "banana") + "</FOLDERS>";
}

class ExplorerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        appOptions().setDefaultBrowser("Win");
        window = std::make_unique<frmVardecks>();
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        explorer.emplace(installExplorer(*window));
        installAspects(*window);
        installPreview(*window);
        installRecentMenu(*window, window->commands, window->dbXML, *window);
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    void TearDown() override
    {
        closePopups();
        window.reset();
        setVisitClock({});
    }

    void openDatabase(const QByteArray &body = sampleBody())
    {
        path = writeDatabase(home.databaseFolder(), "Vardecks.xml", body);
        auto db = std::make_unique<XMLDatabase>();
        db->setPath(path);
        ASSERT_TRUE(db->openDBValidate(path));
        window->dbXML.open(std::move(db), "Vardecks.xml");
        explorer->views.populateIconList();
        explorer->tree.populateTopicList(doc());
    }

    XmlDocument *doc() const { return window->dbXML->getTheDOM(); }
    QTreeWidget *topics() const { return tvwTopics(*window); }
    QTreeWidgetItem *root() const { return topics()->topLevelItem(0); }
    static QString tag(const QTreeWidgetItem *item) { return item ? item->data(0, Qt::UserRole).toString() : ""; }

    // The node of tree whose tag is id, at any level.
    static QTreeWidgetItem *tagged(const QTreeWidget *tree, const QString &id)
    {
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
            if (tag(*it) == id)
                return *it;
        return nullptr;
    }
    QTreeWidgetItem *node(const QString &tid) const { return tagged(topics(), tid); }
    QTreeWidgetItem *wmNode(const QString &wid) const { return tagged(tvwWM(*window), wid); }
    QTreeWidgetItem *row(const QString &wid) const { return tagged(listVD(*window), wid); }
    QStringList rowIds() const
    {
        QStringList out;
        for (int i = 0; i < listVD(*window)->topLevelItemCount(); ++i)
            out << tag(listVD(*window)->topLevelItem(i));
        return out;
    }
    void clickFolder(const QString &tid) { clickItem(topics(), node(tid)); }
    void clickVardeck(const QString &wid) { clickItem(tvwWM(*window), wmNode(wid)); }
    // Shows a Vardeck as a click in its folder does.
    void showVardeck(const QString &tid, const QString &wid)
    {
        clickFolder(tid);
        clickVardeck(wid);
    }
    QByteArray fileBytes() const { return readBytes(path); }
    // The database as saved in the file, and an element of it.
    XMLDatabase &freshDb() const
    {
        m_saved = std::make_unique<XMLDatabase>();
        EXPECT_TRUE(m_saved->openDBValidate(path));
        return *m_saved;
    }
    XmlNode stored(const QString &id) const { return freshDb().getTheDOM()->nodeFromID(id); }
    // Removes an element from the document only, as a change elsewhere would.
    void removeElement(const QString &id) const
    {
        XmlNode n = doc()->nodeFromID(id);
        ASSERT_FALSE(n.isNull()) << id.toStdString();
        n.parentNode().removeChild(n);
    }
    static void closePopups()
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }
    QString openPopup() const
    {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu ? menu->objectName() : QString();
    }
    // A right-click on a node of tree; the popup it opened, closed again.
    QString rightClick(QTreeWidget *tree, QTreeWidgetItem *item) const
    {
        clickItem(tree, item, Qt::RightButton);
        const QString shown = openPopup();
        closePopups();
        return shown;
    }
    static QStringList childTexts(const QTreeWidgetItem *item)
    {
        QStringList out;
        for (int i = 0; item && i < item->childCount(); ++i)
            out << item->child(i)->text(0);
        return out;
    }
    ScriptedPrompts prompts;
    TempHome home;
    FakeLauncher launcher;
    std::unique_ptr<frmVardecks> window;
    // The Explorer's parts, for the tests that work on them directly.
    std::optional<ExplorerParts> explorer;
    QString path;
    mutable std::unique_ptr<XMLDatabase> m_saved;
};

} // namespace rr::test
