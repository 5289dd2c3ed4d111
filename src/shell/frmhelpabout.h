#pragma once
// The About box: the version and two links (the support address and the maker's
// web page) that underline under the mouse.
#include <QDialog>

class QGroupBox;
class QLabel;

namespace rr
{

class qbButtons_H;

class frmHelpAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmHelpAbout(QWidget *parent = nullptr);

    void lblEMail_Click();
    void lblURL_Click();

    QLabel *lblVersionCaption = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblEMail = nullptr;
    QLabel *lblURL = nullptr;
    QGroupBox *Frame1 = nullptr;
    qbButtons_H *cmdOK = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUnderline(QLabel *label, bool on);
};

} // namespace rr
