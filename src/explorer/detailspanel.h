#pragma once
// The details panel: one Vardeck's fields, site icon, thumbnail, home page and marks
// on the right-hand side; what follows when the shown folder or Vardeck changes (tab
// captions fitted, commands enabled, the folder path in the status bar); the address
// and home-page links; and the right-clicks that keep a text for the Copy command.
#include "platform/xmldocument.h"

#include <QObject>

class QLabel;
class QPoint;
class QTreeWidgetItem;
class QWidget;

namespace rr
{

class frmVardecks;

class DetailsPanel : public QObject
{
    Q_OBJECT
public:
    explicit DetailsPanel(frmVardecks &w);

    void displayVardeckData(const XmlNode &vardeck);
    void lblWName_Change();
    void lblTName_Change();

    // The link labels.
    void linkClicked(QLabel *link);
    void linkHovered(QLabel *link);
    // A right-click on one of the panel's controls.
    void rightClicked(QWidget *control);

    // The texts of the tab captions for the shown Vardeck and folder.
    QString fittedVardeckCaption(const QString &caption) const;
    QString fittedFolderCaption(const QString &caption) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showSiteIcon();
    void showThumbnail();
    void showPreview(const QString &address);
    void enableVardeckCommands(bool shown);
    void enableFolderCommands(bool shown);
    bool panelIdle() const;
    bool bothShown() const;
    void fitToFont(QLabel *label);

    frmVardecks &w;
};

} // namespace rr
