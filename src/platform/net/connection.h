#pragma once
// Whether the machine is online, for the commands that ask before going to the web.
// The desktop's network information service answers when one is there; without it
// (no D-Bus, a bare container) any interface that is up, not a loopback and has an
// address counts as a connection. What cannot be known counts as online: a question
// asked wrongly is worse than a fetch that fails.
//
// RAZUZEZU_OFFLINE=1 in the environment, or forceOffline(true), makes the answer
// "offline" whatever the network says (tests, and users who want the question).
#include <QString>
#include <QtGlobal>

namespace rr
{

// True when connected; then flags gets 2 (a network interface) and name the
// interface's name ("" when the system service answered). Offline leaves both alone.
bool CheckConnectionIGCS(quint32 *flags = nullptr, QString *connectionName = nullptr);

void forceOffline(bool offline);

} // namespace rr
