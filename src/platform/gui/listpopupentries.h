#pragma once
// The entries of the popups of a Vardeck list's rows, by their index in the menu's item
// array: the menu table gives each its caption, the commands declare which end an edit,
// and the handler runs each by name.

namespace rr
{

// The popup of one row (the item array mnuList).
enum class ListPopupEntry {
    NewVardeck = 1,
    FirstSeparator,
    OpenVardeck,
    OpenInBrowser,
    OpenHomePage,
    SecondSeparator,
    MoveVardeck,
    UpdateVardeck,
    DeleteVardeck,
    ThirdSeparator,
    CopyVardeck,
    AddToFavorites,
};
constexpr int kListPopupEntries = int(ListPopupEntry::AddToFavorites);

// The popup of several rows (the item array mnuMulti).
enum class MultiPopupEntry {
    OpenInBrowser = 1,
    MoveVardecks,
    DeleteVardecks,
};
constexpr int kMultiPopupEntries = int(MultiPopupEntry::DeleteVardecks);

} // namespace rr
