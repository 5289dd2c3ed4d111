#include "platform/net/connection.h"

#include <QNetworkInformation>
#include <QNetworkInterface>

namespace rr
{
namespace
{

bool g_forcedOffline = false;

enum class State { Online, Offline, NoService };

State fromService()
{
    static const bool loaded = QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    QNetworkInformation *info = loaded ? QNetworkInformation::instance() : nullptr;
    if (!info)
        return State::NoService;
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Disconnected:
        return State::Offline;
    default:
        // Local, Site and Online: a network is there, as a LAN connection counts;
        // Unknown: the service cannot tell.
        return State::Online;
    }
}

QString activeInterface()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &candidate : interfaces) {
        const auto flags = candidate.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        if (!candidate.addressEntries().isEmpty())
            return candidate.name();
    }
    return {};
}

} // namespace

void forceOffline(bool offline)
{
    g_forcedOffline = offline;
}

bool CheckConnectionIGCS(quint32 *flags, QString *connectionName)
{
    if (g_forcedOffline || qEnvironmentVariableIntValue("RAZUZEZU_OFFLINE") == 1)
        return false;
    QString name;
    switch (fromService()) {
    case State::Offline:
        return false;
    case State::Online:
        break;
    case State::NoService:
        name = activeInterface();
        // Interfaces listed and none up with an address is offline; no list at all
        // tells nothing.
        if (name.isEmpty() && !QNetworkInterface::allInterfaces().isEmpty())
            return false;
        break;
    }
    if (flags)
        *flags = 2;
    if (connectionName)
        *connectionName = name;
    return true;
}

} // namespace rr
