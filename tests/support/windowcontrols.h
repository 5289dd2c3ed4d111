#pragma once
// The main window's controls as a test reaches them: by their system names, which are
// also their object names, whichever part of the program made them. Each accessor
// finds the control of that name in the window itself, never in one of its dialogs.
#include "controls/qbbuttons_h.h"
#include "finding/wordsearch.h"
#include "shell/controlarrays.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <type_traits>

namespace rr::test
{

// The control of the main window named name, of type T; nullptr when it has none.
template <typename T> T *windowControl(const QWidget &window, const QString &name)
{
    for (T *found : window.findChildren<T *>(name)) {
        if constexpr (std::is_base_of_v<QWidget, T>) {
            if (found->window() == &window)
                return found;
        } else {
            return found;
        }
    }
    return nullptr;
}

template <typename T> T *windowControl(const QWidget &window, const char *name)
{
    return windowControl<T>(window, QString::fromLatin1(name));
}

#define RR_WINDOW_CONTROL(Type, name)                                                                                  \
    inline Type *name(const QWidget &window)                                                                           \
    {                                                                                                                  \
        return windowControl<Type>(window, #name);                                                                     \
    }

RR_WINDOW_CONTROL(QWidget, formClient)
RR_WINDOW_CONTROL(QToolBar, Toolbar1)
RR_WINDOW_CONTROL(QToolBar, Toolbar2)
RR_WINDOW_CONTROL(StatusPanels, StatusBar1)
RR_WINDOW_CONTROL(QWidget, Picture2)
RR_WINDOW_CONTROL(QLineEdit, txtS)
RR_WINDOW_CONTROL(QCheckBox, chkWebAspectBrowser)
RR_WINDOW_CONTROL(QWidget, wbWeb)
RR_WINDOW_CONTROL(Splitter, Splitter2)
RR_WINDOW_CONTROL(TabStrip, tabIndex)
RR_WINDOW_CONTROL(QWidget, Picture1)
RR_WINDOW_CONTROL(Splitter, Splitter1)
RR_WINDOW_CONTROL(QTreeWidget, tvwTopics)
RR_WINDOW_CONTROL(QTreeWidget, tvwWM)
RR_WINDOW_CONTROL(qbButtons_H, cmdMoveVD)
RR_WINDOW_CONTROL(qbButtons_H, cmdMoveFolder)
RR_WINDOW_CONTROL(QComboBox, cmbSearch)
RR_WINDOW_CONTROL(qbButtons_H, cmdSearch)
RR_WINDOW_CONTROL(QGroupBox, Frame4)
RR_WINDOW_CONTROL(QLabel, lblFound)
RR_WINDOW_CONTROL(QTreeWidget, lstSrch)
RR_WINDOW_CONTROL(QLabel, Picture5)
RR_WINDOW_CONTROL(QTreeWidget, tvwFavs)
RR_WINDOW_CONTROL(qbButtons_H, cmdFAdd)
RR_WINDOW_CONTROL(qbButtons_H, cmdFDelete)
RR_WINDOW_CONTROL(QLabel, Picture4)
RR_WINDOW_CONTROL(QTreeWidget, listPop)
RR_WINDOW_CONTROL(TabStrip, tabView)
RR_WINDOW_CONTROL(QWidget, Frame2)
RR_WINDOW_CONTROL(QLabel, lblWName)
RR_WINDOW_CONTROL(QLineEdit, txtWName)
RR_WINDOW_CONTROL(QLabel, lblAddress)
RR_WINDOW_CONTROL(QLineEdit, txtAddress)
RR_WINDOW_CONTROL(QLabel, imgIcon)
RR_WINDOW_CONTROL(TabStrip, tabInfo)
RR_WINDOW_CONTROL(QTreeWidget, listVD)
RR_WINDOW_CONTROL(QTreeWidget, lstSearch)
RR_WINDOW_CONTROL(QWidget, PictureDetails)
RR_WINDOW_CONTROL(QLabel, picThumb)
RR_WINDOW_CONTROL(QCheckBox, chkFav)
RR_WINDOW_CONTROL(qbButtons_H, cmdAddFavs)
RR_WINDOW_CONTROL(QLabel, Picture10)
RR_WINDOW_CONTROL(QLabel, lblHome)
RR_WINDOW_CONTROL(QLabel, lblCreatedDate)
RR_WINDOW_CONTROL(QLabel, lblFileSize)
RR_WINDOW_CONTROL(QLabel, lblDescription)
RR_WINDOW_CONTROL(QPlainTextEdit, txtDescription)
RR_WINDOW_CONTROL(QLabel, lblKeyWords)
RR_WINDOW_CONTROL(QPlainTextEdit, txtKeywords)
RR_WINDOW_CONTROL(QWidget, wbPreview)
RR_WINDOW_CONTROL(QCheckBox, chkAutoPreview)
RR_WINDOW_CONTROL(QProgressBar, previewProgress)
// The preview's buttons by their index in the object name ("cmdPreview(5)").
inline qbButtons_H *cmdPreview(const QWidget &window, int index)
{
    return windowControl<qbButtons_H>(window, qPrintable(QStringLiteral("cmdPreview(%1)").arg(index)));
}
RR_WINDOW_CONTROL(QTextEdit, txtNotes)
RR_WINDOW_CONTROL(QLabel, lblTName)
RR_WINDOW_CONTROL(QLineEdit, ThunderTextBox)
RR_WINDOW_CONTROL(QTimer, Timer1)
RR_WINDOW_CONTROL(QTimer, timerIcon)

#undef RR_WINDOW_CONTROL

// An element of the label array, "lbl(N)", whichever part made it.
inline QLabel *lbl(const QWidget &window, Lbl index)
{
    return windowControl<QLabel>(window, QStringLiteral("lbl(%1)").arg(int(index)));
}
// Every element of the label array the window shows.
inline QList<QLabel *> lblElements(const QWidget &window)
{
    static const QRegularExpression element(QStringLiteral("^lbl\\(\\d+\\)$"));
    QList<QLabel *> elements;
    for (QLabel *label : window.findChildren<QLabel *>(element)) {
        if (label->window() == &window)
            elements.append(label);
    }
    return elements;
}
// The details panel's Update buttons: at the top of the Details page ("cmdEdit(3)") and in
// front of "Keywords:" ("cmdEdit(0)").
inline qbButtons_H *updateButton(const QWidget &window)
{
    return windowControl<qbButtons_H>(window, QStringLiteral("cmdEdit(3)"));
}
inline qbButtons_H *keywordsUpdateButton(const QWidget &window)
{
    return windowControl<qbButtons_H>(window, QStringLiteral("cmdEdit(0)"));
}
// The details panel's button that searches for a detail of the shown Vardeck ("cmdSearchHome(N)").
inline qbButtons_H *searchButton(const QWidget &window, DetailSearch detail)
{
    return windowControl<qbButtons_H>(window, QStringLiteral("cmdSearchHome(%1)").arg(int(detail)));
}
// The Search tab's field boxes chkSearch(0) to chkSearch(5), by what they search, and
// its two option boxes, "Open first result" chkOpt(6) and "Show detailed results"
// chkOptt(7).
inline QCheckBox *searchFieldBox(const QWidget &window, FieldBox box)
{
    return windowControl<QCheckBox>(window, QStringLiteral("chkSearch(%1)").arg(int(box)));
}
inline QCheckBox *openFirstResultBox(const QWidget &window)
{
    return windowControl<QCheckBox>(window, "chkOpt(6)");
}
inline QCheckBox *showDetailedResultsBox(const QWidget &window)
{
    return windowControl<QCheckBox>(window, "chkOptt(7)");
}

} // namespace rr::test
