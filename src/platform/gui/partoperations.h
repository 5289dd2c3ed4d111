#pragma once
// How one part of the main window asks another for an operation when the asking part's
// library sits below the library of the part that does the work, and so cannot include
// its headers (the frame asking the folder tree to fill itself, the finding panes asking
// the details panel to show a Vardeck).
//
// The operations such callers need of a part are a class of virtual functions declared
// in a header of its own, in the lowest library that calls them (the folder tree's in
// shell/foldertreeoperations.h, say). The part that does the work derives from it,
// overrides each function, and offers itself on the window as it is installed:
//
//     offerOperations<FolderTreeOperations>(window, *this, *this);
//
// and a caller asks the window for it by that class:
//
//     operationsOf<FolderTreeOperations>(w).populateTopicList(doc);
//
// A call site thus leads to the class's declaration, and from there to the one override
// that does the work; adding an operation recompiles only the files that include that
// part's header. An operations class's own functions do nothing and give empty values, so
// a window a test puts together without the part runs its callers as before, and a test
// may offer a stand-in of its own. The offer lasts as long as the object that made it.
#include <QObject>
#include <typeindex>
#include <typeinfo>

namespace rr
{

namespace detail
{
void *offeredOperations(const QObject &window, std::type_index type);
void offerOperations(QObject &window, std::type_index type, QObject &provider, void *operations);
} // namespace detail

// The window now reaches the operations of class Operations in operations, for as long as
// provider lives (a later offer of the same class takes its place).
template <class Operations> void offerOperations(QObject &window, QObject &provider, Operations &operations)
{
    detail::offerOperations(window, std::type_index(typeid(Operations)), provider, &operations);
}

// True when a living part offers the operations of class Operations on the window.
template <class Operations> bool operationsOffered(const QObject &window)
{
    return detail::offeredOperations(window, std::type_index(typeid(Operations))) != nullptr;
}

// The operations of class Operations the window was offered; when none is, the class's
// own, which do nothing.
template <class Operations> Operations &operationsOf(const QObject &window)
{
    if (void *offered = detail::offeredOperations(window, std::type_index(typeid(Operations))))
        return *static_cast<Operations *>(offered);
    static Operations none;
    return none;
}

} // namespace rr
