#pragma once
// Putting user data (folder and Vardeck names, addresses) into captions and tool
// tips: menus and tab captions read "&" as an access letter, and tool tips read
// markup, so a name must be escaped before it becomes either.
#include <QString>

namespace rr
{

// The text with every "&" doubled, so that a caption shows it literally.
QString escapeMnemonic(const QString &text);
// The reverse: "&&" becomes "&", a single "&" (an access letter mark) disappears.
QString stripMnemonic(const QString &caption);
// A tool tip that shows text literally: text without markup characters comes back
// as it is; otherwise it is escaped and wrapped so that blanks are kept.
QString toolTipText(const QString &text);

// The one text comparison of identifiers, modes and captions: equal but for letter
// case.
bool sameText(const QString &a, const QString &b);

} // namespace rr
