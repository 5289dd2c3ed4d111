#pragma once
// The main window's controls as a test reaches them: by their system names, which are
// also their object names, whichever part of the program made them. Each accessor
// finds the control of that name in the window itself, never in one of its dialogs.
#include "controls/qbbuttons_h.h"
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
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <type_traits>

namespace rr::test
{

// The control of the main window named name, of type T; nullptr when it has none.
template <typename T> T *windowControl(const QWidget &window, const char *name)
{
    for (T *found : window.findChildren<T *>(QString::fromLatin1(name))) {
        if constexpr (std::is_base_of_v<QWidget, T>) {
            if (found->window() == &window)
                return found;
        } else {
            return found;
        }
    }
    return nullptr;
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
RR_WINDOW_CONTROL(QTextEdit, txtNotes)
RR_WINDOW_CONTROL(QLabel, lblTName)
RR_WINDOW_CONTROL(QLineEdit, ThunderTextBox)
RR_WINDOW_CONTROL(QTimer, Timer1)
RR_WINDOW_CONTROL(QTimer, timerIcon)
RR_WINDOW_CONTROL(QLabel, Picture8)
RR_WINDOW_CONTROL(QLabel, Picture3)

#undef RR_WINDOW_CONTROL

// The element of the window's label array lbl() named "lbl(N)".
inline QLabel *lbl(const QWidget &window, Lbl index)
{
    const QByteArray name = "lbl(" + QByteArray::number(int(index)) + ")";
    return windowControl<QLabel>(window, name.constData());
}

} // namespace rr::test
