#pragma once
// A tab strip in the manner of the main window's: a row of equally wide tabs along
// the top and one page per tab covering the whole control, so that the controls on
// a page are placed in the strip's own coordinates (below the tabs). Selecting a tab,
// by a click or from code, raises Click with the tab shown before.
//
// Access letters: a tab caption's "&" letter selects the tab with Alt, except where
// a menu of the window's menu bar uses the same letter; the menu wins there, as the
// window's menu bar takes Alt and its menus' letters first (platform/gui/menuaccesskeys.h).
#include <QIcon>
#include <QTabBar>
#include <QWidget>
#include <functional>

class QMimeData;

namespace rr
{

class StripTabBar;

class TabStrip : public QWidget
{
    Q_OBJECT
public:
    explicit TabStrip(QWidget *parent = nullptr);

    // Adds a tab with a caption that may carry an access letter; returns its number.
    int addTab(const QString &caption);
    int Tabs() const;
    // The selected tab, from 0.
    int Tab() const { return m_current; }
    void setTab(int tab);

    // The caption as it was given (TabCaption) or as plain text (setTabText, which
    // shows user data such as a folder name literally, "&" included).
    QString TabCaption(int tab) const;
    void setTabText(int tab, const QString &text);
    // What the tab shows: the caption with access letters ("&&" for a literal "&").
    QString shownCaption(int tab) const;
    void setTabPicture(int tab, const QIcon &picture);

    QWidget *page(int tab) const;

    // The tab takes drops, on its page and on its tab in the row, for as long as owner
    // lives: a drag that accepts approves is taken there and released runs drop. A drag
    // it does not approve is refused on the page and left to the row's own handling;
    // one it approves is let in anywhere on the row, so that it can go on to the tab.
    void takeDrops(int tab, QObject *owner, std::function<bool(const QMimeData *)> accepts,
                   std::function<void(const QMimeData *)> drop);
    QTabBar *tabBar() const;
    // Height of the row of tabs, in pixels.
    int tabRowHeight() const { return m_rowHeight; }

signals:
    void Click(int previousTab);
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    void GotFocus();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onCurrentChanged(int index);
    void placeParts();

    struct TabInfo {
        QString caption;
        QWidget *page = nullptr;
    };
    StripTabBar *m_bar = nullptr;
    QList<TabInfo> m_tabs;
    int m_current = 0;
    int m_rowHeight = 25;
};

} // namespace rr
