#pragma once
// Whether a profile lock a running program keeps (a symlink whose target reads
// "IP:+PID") names a process alive on this machine. Traps kept here:
// - The lock outlives a crash: only a PID that exists now counts, whoever owns it
//   (EPERM from the signal test still means "alive"); an ended process not yet
//   reaped by its parent (a zombie) is dead.
// - A lock written on another machine sharing the home folder names a PID of that
//   machine: the IP must be a loopback address or one of this machine's addresses.
// - The target is untrusted text: anything but a positive decimal PID reads as dead.
#include <QString>

namespace rr::processlock
{

// The PID a lock target names, or 0 when it is not of the form above.
qint64 pidOfTarget(const QString &target, QString *ip = nullptr);
// True when the lock at path is a symlink naming a live process of this machine.
bool namesLiveLocalProcess(const QString &path);

} // namespace rr::processlock
