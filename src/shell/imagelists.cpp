#include "shell/imagelists.h"

namespace rr
{

QIcon pairedIcon(const QMap<QString, QIcon> &imageList, const QString &key, const QString &selectedKey)
{
    QIcon icon;
    const QIcon normal = imageList.value(key);
    const QIcon selected = imageList.value(selectedKey);
    for (const QSize &size : normal.availableSizes())
        icon.addPixmap(normal.pixmap(size), QIcon::Normal);
    if (normal.availableSizes().isEmpty() && !normal.isNull())
        icon.addPixmap(normal.pixmap(16), QIcon::Normal);
    if (!selected.isNull())
        icon.addPixmap(selected.pixmap(16), QIcon::Selected);
    return icon;
}

QIcon vardeckIcon(const QMap<QString, QIcon> &imageList, const QString &wid, bool withSelectedPicture)
{
    if (!wid.isEmpty() && imageList.contains(wid))
        return imageList.value(wid);
    if (withSelectedPicture)
        return pairedIcon(imageList, QStringLiteral("Vardeck"), QStringLiteral("SelVardeck"));
    return imageList.value(QStringLiteral("Vardeck"));
}

VardeckIcons::VardeckIcons(const QMap<QString, QIcon> &imageList, bool withSelectedPicture)
    : m_images(imageList), m_stock(vardeckIcon(imageList, QString(), withSelectedPicture))
{
}

QIcon VardeckIcons::of(const QString &wid) const
{
    const auto it = wid.isEmpty() ? m_images.constEnd() : m_images.constFind(wid);
    return it != m_images.constEnd() ? *it : m_stock;
}

QIcon VardeckPictures::of(const QString &wid, bool withSelectedPicture) const
{
    return vardeckIcon(m_pictures, wid, withSelectedPicture);
}

qint64 VardeckPictures::cacheKey(const QString &key) const
{
    const auto found = m_pictures.constFind(key);
    return found == m_pictures.cend() ? -1 : found->cacheKey();
}

void VardeckPictures::setSiteIcon(const QString &wid, const QIcon &icon)
{
    m_pictures.insert(wid, icon);
}

void VardeckPictures::forgetSiteIcon(const QString &wid)
{
    m_pictures.remove(wid);
}

void VardeckPictures::replaceAll(QMap<QString, QIcon> pictures, const QIcon &plain)
{
    m_pictures = std::move(pictures);
    for (const QString &stock : {QStringLiteral("Vardeck"), QStringLiteral("SelVardeck")}) {
        if (!m_pictures.contains(stock))
            m_pictures.insert(stock, plain);
    }
}

} // namespace rr
