#include "platform/webaddress.h"

#include "platform/textutil.h"

namespace rr
{

QString cleanAddress(const QString &address)
{
    return singleLineText(address).trimmed();
}

bool isWwwAddress(const QString &address)
{
    return address.trimmed().startsWith(QLatin1String("www."), Qt::CaseInsensitive);
}

bool isWebAddress(const QString &address)
{
    return address.trimmed().startsWith(QLatin1String("http"), Qt::CaseInsensitive) || isWwwAddress(address);
}

QString withWebScheme(const QString &address)
{
    return isWwwAddress(address) ? QStringLiteral("http://") + address.trimmed() : address;
}

} // namespace rr
