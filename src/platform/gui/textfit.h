#pragma once
// Long names in short places. A Vardeck's or folder's name, or an address, is shortened
// with "…" (at the end or in the middle) to the room a menu, a dialog or a label gives
// it; the whole text stays in the tool tip. Every shortening goes through elidedText.
#include "platform/textutil.h"

#include <QString>
#include <Qt>

class QAction;
class QFontMetrics;
class QLabel;

namespace rr
{

// text elided to width pixels in the font of metrics; a text that fits comes back whole.
// Only what the width can show is measured: no letter is narrower than a pixel.
QString elidedText(const QString &text, const QFontMetrics &metrics, int width,
                   Qt::TextElideMode mode = Qt::ElideRight);

// The widest a name runs in a menu: 60 average characters of the menu's font.
int menuNameWidth(const QFontMetrics &metrics);

// A menu item that shows a name after an optional prefix ("1  "): the name shortened to
// what a menu keeps and its "&" doubled; a shortened item has the whole name as its
// tool tip, which the menus that list names show.
void setMenuItemName(QAction *item, const QString &name, const QString &prefix = QString());

// A label of one line that shows a name or an address draws it shortened to the part
// of the label that its parent shows; its tool tip then begins with the whole text. The
// label's text stays whole.
void elideLabel(QLabel *label, Qt::TextElideMode mode = Qt::ElideRight);

} // namespace rr
