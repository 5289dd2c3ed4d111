#include "platform/webaddress.h"

namespace rr
{

bool isWwwAddress(const QString &address)
{
    return address.trimmed().startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

QString withWebScheme(const QString &address)
{
    return isWwwAddress(address) ? QStringLiteral("http://") + address.trimmed() : address;
}

} // namespace rr
