#pragma once
// The widths of a report list's columns as the settings keep them, in twips: restored
// as the window opens and saved as it closes by the part that owns the list, with one
// rule for a width that is missing.
class QTreeWidget;

namespace rr::columnwidths
{

// Gives the column the width stored for it, or, when none is stored or the stored one
// is under 20 pixels (a width that would hide the column), an equal share of the
// list's width among its columns. A stored width is kept by the list's fit; a share
// is the fit's to change.
void restore(QTreeWidget *list, int column, int stored, int columns);
// What the settings keep for the column: its width when somebody chose it (dragged, or
// restored). A width nobody chose (a share, or the fit to the texts, which is made
// afresh next time) leaves what was stored: 0 for a column to be fitted, or a chosen
// width that was not restored because no database opened. 0 for a column the list
// does not have.
int toSave(const QTreeWidget *list, int column, int stored);
// Sets a column's width in twips; nothing for a column the list does not have.
void set(QTreeWidget *list, int column, double twipsWidth);

} // namespace rr::columnwidths
