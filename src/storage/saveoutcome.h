#pragma once
// What became of one save of the database file, as the save returns it. A save that
// did not write leaves the file on disk as it was and the change in the document (the
// caller of an import or a merge takes it back).
#include <QString>

namespace rr
{

struct SaveOutcome {
    enum class Kind {
        Written,    // the whole document is in the file
        KeptByUser, // another program changed the file, and the user said No to writing over it
        Failed,     // nothing was written, for the reason given
    };
    Kind kind = Kind::Failed;
    // Why nothing was written ("" when written): the writer's reason, the sentence of a
    // claim held elsewhere, or that another program changed the file.
    QString reason;
    bool written() const { return kind == Kind::Written; }
};

} // namespace rr
