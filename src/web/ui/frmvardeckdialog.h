#pragma once
// "Vardeck detected": the modal dialog in which the user picks one of the pages the
// browser scan found, to start a new Vardeck from it. It lists the pages in the
// order found, shows the details of the selected one as plain text, switches the
// AutoSave option, and remembers its size and place (in twips) in the settings.
// It keeps no pages of its own: it reads the list it was given.
#include "storage/ui/buttondialog.h"
#include "web/detectedpage.h"

#include <QIcon>
#include <QList>

class QCheckBox;
class QGroupBox;
class QLabel;
class QTreeWidget;

namespace rr
{

class qbButtons_H;

class frmVardeckDialog : public ButtonDialog
{
    Q_OBJECT
public:
    // nodePicture: the picture of every node (with its selected form).
    frmVardeckDialog(const QList<DetectedPage> &pages, const QIcon &nodePicture, QWidget *parent = nullptr);

    // The page chosen with OK; all fields empty after Cancel, Escape or the close box.
    DetectedPage chosenPage() const { return m_chosen; }

    void showDetectedDetails(const QString &name, const QString &address, const QString &description,
                             const QString &browser);

    // The outer size and place the dialog stores, in twips.
    QRect storedGeometryTwips() const;

public slots:
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void tvwDetected_NodeClick();
    void cmdOK_Click();
    void restorePlace();
    void layoutControls();

    const QList<DetectedPage> m_pages;
    DetectedPage m_chosen;
    QLabel *Label1 = nullptr;
    QTreeWidget *tvwDetected = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblName = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *lblAddress = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblDesc = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *lblBrowser = nullptr;
    QCheckBox *chkAutosave = nullptr;
    qbButtons_H *cmdOK = nullptr;
    qbButtons_H *cmdCancel = nullptr;
};

} // namespace rr
