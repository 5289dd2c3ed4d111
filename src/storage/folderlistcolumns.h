#pragma once
// The columns of the shown folder's list (listVD), in the order they stand. Each
// column's width is kept in the settings under "c" and its place counted from 1
// ("c1" the name's, "c5" the hits').
namespace rr
{

enum class FolderListColumn : int { Name, Address, CreatedDate, LastVisited, Hits, Description };

// Every column, first to last.
inline constexpr FolderListColumn kFolderListColumns[] = {
    FolderListColumn::Name,        FolderListColumn::Address, FolderListColumn::CreatedDate,
    FolderListColumn::LastVisited, FolderListColumn::Hits,    FolderListColumn::Description,
};

} // namespace rr
