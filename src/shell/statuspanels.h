#pragma once
// The main window's status bar: a row of sunken panels, numbered from 1, each with a
// width in twips and a plain-text caption. Panel 1 takes transient texts and tool-tip
// echoes, panel 2 the folder path, panel 3 the open database's file name.
#include "platform/textutil.h"

#include <QLabel>
#include <QList>
#include <QWidget>

namespace rr
{

class StatusPanels : public QWidget
{
    Q_OBJECT
public:
    explicit StatusPanels(int count, QWidget *parent = nullptr);

    int panelCount() const { return int(m_panels.size()); }
    // Widths in twips; a negative width makes the panel 0 wide.
    double panelWidth(int panel) const;
    void setPanelWidth(int panel, double widthTwips);
    QString panelText(int panel) const;
    // A text for now: a web pane's status, a notice. Panel 2's folder path is kept apart.
    void setPanelText(int panel, const QString &text);
    // The shown folder's path, written into panel 2 and kept there for the web panes,
    // whose texts pass over it, to show again.
    void setFolderPath(const QString &path);
    QString folderPath() const { return m_folderPath; }
    // The panel shows the path cut to what a panel can show (the path is kept whole).
    void showFolderPathAgain() { setPanelText(kFolderPathPanel, shownText(m_folderPath)); }

    static constexpr int kFolderPathPanel = 2;
    QLabel *panel(int panel) const;

signals:
    // A press on a panel, with the point inside it; panel 0 is the bar outside every panel.
    void MouseDown(Qt::MouseButton button, int panel, const QPoint &pos);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placePanels();

    QList<QLabel *> m_panels;
    QList<double> m_widths;
    QString m_folderPath;
};

} // namespace rr
