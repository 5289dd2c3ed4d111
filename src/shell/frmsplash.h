#pragma once
// The splash window: fades in while the main window loads and, once told that
// loading is over, shows the main window, opens the tip of the day and closes.
#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

namespace rr
{

// Sets the window's constant alpha (0..255). False when the platform cannot make
// windows translucent; the window then simply stays opaque.
bool setTranslucency(QWidget *window, int alpha);

class frmSplash : public QWidget
{
    Q_OBJECT
public:
    // showMainWindow makes the main window visible; showTips opens the tip of the day.
    frmSplash(std::function<void()> showMainWindow, std::function<void()> showTips, QWidget *parent = nullptr);

    // Shows the window fading in over 64 steps and starts the hand-over timer.
    void Form_Load();
    // Loading is over: the next timer tick hands over to the main window.
    void setUnload() { m_unload = true; }
    bool unloadRequested() const { return m_unload; }
    int lastAlpha() const { return m_lastAlpha; }

    QLabel *Label1 = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Picture1 = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *Picture3 = nullptr;
    QTimer *Timer1 = nullptr;

private:
    void Timer1_Timer();

    std::function<void()> m_showMainWindow;
    std::function<void()> m_showTips;
    bool m_unload = false;
    int m_lastAlpha = -1;
};

} // namespace rr
