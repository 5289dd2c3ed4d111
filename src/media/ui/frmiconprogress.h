#pragma once
// The icon progress window "Icon loading...": modeless, in front of the main window
// while an icon run or a single fetch goes on, showing the counts, the site and name
// being fetched and the last icon loaded. Its button ("Cancel" during a run, "OK"
// after it) raises cancelIcons, closes the window and gives the main window back.
#include <QWidget>

class QLabel;
class QProgressBar;

namespace rr
{

class qbButtons_H;

class frmIconProgress : public QWidget
{
    Q_OBJECT
public:
    explicit frmIconProgress(QWidget *owner);

    void setLoaded(int count);
    void setFailed(int count);
    void setRemaining(int count);
    void setCurrent(const QString &name, const QString &home);
    void showIcon(const QString &file);
    void setProgress(double percent);
    // "Task completed", the button becomes "OK", the title "Icons loaded: n".
    void showEnd(int loaded);

signals:
    // The button was pressed (cancelIcons is already raised).
    void buttonPressed();

private:
    // The button's press (and Esc's): cancelIcons raised, the window closed.
    void pressButton();

    QWidget *m_owner;
    QLabel *lblLoaded = nullptr;
    QLabel *lblFailed = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblAddress = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblRemaining = nullptr;
    QLabel *imgIcon = nullptr;
    QProgressBar *Progress1 = nullptr;
    qbButtons_H *Command1 = nullptr;
};

} // namespace rr
