#pragma once
// Text boxes of names and addresses hold one line: whatever reaches them (typed,
// pasted, dropped into the box, or set by the program from a capture) has each line
// break and tab turned into one blank at once (singleLineText), so the box shows
// what will be stored.
class QLineEdit;

namespace rr
{

void keepSingleLine(QLineEdit *box);

} // namespace rr
