#pragma once
// The main window's panes, as the parts that build their controls in them see them: the
// container each part builds in, the places the frame lays out, the tool tip the panes
// show and the button Enter presses. The window implements it; frameplaces.h names the
// panes and the places.
#include "shell/frameplaces.h"

class QString;
class QWidget;

namespace rr
{

class qbButtons_H;

class FramePanes
{
public:
    // The container a part builds its controls in.
    virtual QWidget *pane(Pane pane) const = 0;
    // A part hands the frame a control whose place, size, visibility or font the layout
    // rules set; once for each place.
    virtual void addToLayout(Place role, QWidget *control) = 0;
    // The tool tip both panes show where a control has none of its own ("" none): the
    // address under the pointer.
    virtual void setPanesToolTip(const QString &tip) = 0;
    // The button Enter presses (null: none).
    virtual void setDefaultButton(qbButtons_H *button) = 0;
    virtual qbButtons_H *defaultButton() const = 0;

protected:
    ~FramePanes() = default;
};

} // namespace rr
