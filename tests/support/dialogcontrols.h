#pragma once
// A dialog's controls as a test reaches them: by their system names, which are also
// their object names. The dialog keeps its controls to itself; a test finds them as
// the user does, by what they are called.
#include <QString>
#include <QWidget>

namespace rr::test
{

// The control of dialog named name, of type T; nullptr when it has none.
template <typename T> T *dialogControl(const QWidget &dialog, const char *name)
{
    return dialog.findChild<T *>(QString::fromLatin1(name));
}

// Element index of the control array named array ("chk", 3: the control "chk(3)").
template <typename T> T *arrayControl(const QWidget &dialog, const char *array, int index)
{
    return dialog.findChild<T *>(QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index));
}

} // namespace rr::test
