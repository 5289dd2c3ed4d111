#pragma once
// What the Vardeck editor asks of the program's assembly, which opens the duplicates
// window with the Explorer's deletion (app/collectiondialogs.cpp): the window for the
// address just saved. It is offered on the window (partoperations.h); the editor's
// Save asks for it by this class.
#include <QString>

namespace rr
{

class DuplicatesOperations
{
public:
    virtual ~DuplicatesOperations() = default;

    // Opens the duplicates window for the address of the Vardeck just saved.
    virtual void frmDuplicates_Show(const QString &address) {}
};

} // namespace rr
