#pragma once
// The tip of the day: a small modeless window that shows the next tip of the table each
// time it is opened, lets the user read any other tip, opens the tip's help page or the
// maker's FAQ, and switches the tip at start-up off or on. The program has one tip
// window; opening it while it is open only brings it forward.
#include "options/tipsupport.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QTextEdit;

namespace rr
{

class qbButtons_H;

class frmTips : public QWidget
{
    Q_OBJECT
public:
    explicit frmTips(QWidget *parent = nullptr);

    // Rebuilds tipList from the tip table.
    void loadTips();

    QList<TipSupport> tipList;
    TipSupport currentTip;

    void cmbTips_Click(int row);
    void lblReadMore_Click();
    void lblURL_Click();

    // Opens the tip window, or brings the open one forward.
    static void showTips(QWidget *parent);
    // The open tip window, or nullptr.
    static frmTips *existing();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void showTipHelp(const QString &page);
    void setUnderline(QLabel *label, bool on);

    QComboBox *cmbTips = nullptr;
    QGroupBox *Frame1 = nullptr;
    QTextEdit *lblTipText = nullptr;
    QLabel *Picture1 = nullptr;
    QLabel *lblReadMore = nullptr;
    QLabel *Picture2 = nullptr;
    QLabel *lblURL = nullptr;
    QCheckBox *chkShow = nullptr;
    qbButtons_H *cmdCancel = nullptr;
};

// Offers the tip window on the main window (TipsOperations), for the Help menu's Tips
// and the tip at start-up. Call once per window.
void installTips(QWidget &window);

} // namespace rr
