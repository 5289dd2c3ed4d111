#pragma once
// The main window's status bar: a row of sunken panels, numbered from 1, each with a
// width in twips and a plain-text caption. Panel 1 takes transient texts and tool-tip
// echoes, panel 2 the folder path, panel 3 the open database's file name.
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
    void setPanelText(int panel, const QString &text);
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
};

} // namespace rr
