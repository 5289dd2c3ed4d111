#pragma once
// What the main window shows and edits, for the parts that follow it: the shown folder,
// the shown Vardeck and the edit state, and the icon fetched for an add. The window
// implements it and is its one owner (frmvardecks.h says who writes each piece); a part
// that reads what is shown, shows a folder or a list's Vardeck, or empties what is shown
// after a change of the whole collection, is handed this instead of the window.
#include "shell/windowstate.h"

#include <QMetaObject>
#include <QString>
#include <functional>

class QObject;

namespace rr
{

class ShownItems
{
public:
    // The shown folder's TID ("" when none is shown); showFolder shows another one, by
    // its TID and name.
    virtual const QString &currentTID() const = 0;
    virtual bool folderShown() const = 0;
    virtual void showFolder(const QString &tid, const QString &name) = 0;
    // The shown Vardeck's WID (while none is shown, the one shown last) and its caption,
    // its name or "No Vardeck selected".
    virtual const QString &currentWID() const = 0;
    virtual bool vardeckShown() const = 0;
    virtual const QString &vardeckCaption() const = 0;
    // Nothing shown in the folder's or the Vardeck's place: "No folder selected", "No
    // Vardeck selected".
    virtual void showNoFolder() = 0;
    virtual void showNoVardeck() = 0;
    // The Vardeck being modified; "" while a new one is added or nothing is edited.
    virtual QString editedWID() const = 0;
    // The Vardeck the Vardeck commands act on: the one opened last from a list or tree
    // ("" none).
    virtual const QString &selectedWID() const = 0;
    virtual void selectVardeck(const QString &wid) = 0;

    // Viewing, Adding or Modifying; run is called with each new state for as long as
    // context lives.
    virtual EditState editState() const = 0;
    virtual QMetaObject::Connection whenEditStateChanges(const QObject *context,
                                                         std::function<void(EditState)> run) = 0;

    // The icon fetched for the page of the Vardeck being added shows in the details; a
    // new add or fetch forgets it.
    virtual void fetchedIconShown() = 0;
    virtual void forgetFetchedIcon() = 0;

protected:
    ~ShownItems() = default;
};

} // namespace rr
