#pragma once
// What a fill of the shown folder's Vardeck views reads from the document: each
// Vardeck's WID and the texts of its row in the list, and the order by name both views
// show. A folder may hold tens of thousands of Vardecks, so a Vardeck's fields are read
// in one walk over its children (not one search per column), and each name is folded to
// its caseless key once (not again at each of the sort's comparisons).
#include "platform/xmldocument.h"
#include "storage/folderlistcolumns.h"

#include <QList>
#include <QString>
#include <array>
#include <iterator>

namespace rr
{

// How a row of the list shows the texts its Vardeck holds.
enum class ListCells {
    // Filled with the tree: an empty text shows one blank, an empty or missing count 1.
    BlankForEmpty,
    // Refilled alone: the texts as they are; only a missing count shows 1.
    AsStored,
};

inline constexpr int kFolderListColumnCount = int(std::size(kFolderListColumns));

// A Vardeck as its node and row show it. The cells stand in column order; the name
// cell is also the text of the tree's node. A field is the first child of its name;
// the count is the last HITS child in any letter case, right-aligned in six places.
struct VardeckRowTexts {
    QString wid;
    std::array<QString, kFolderListColumnCount> cells;

    const QString &cell(FolderListColumn column) const { return cells[size_t(column)]; }
    const QString &name() const { return cell(FolderListColumn::Name); }
};

VardeckRowTexts readVardeckRow(const XmlNode &vardeck, ListCells rule);

// The positions of names in the order the views sort them by name: letter case
// ignored as the views' caseless comparison ignores it, names equal but for case in
// the order of their exact texts, equal names in the order given.
QList<qsizetype> orderByName(const QList<QString> &names);

} // namespace rr
