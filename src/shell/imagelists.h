#pragma once
// The pictures of the window's tree nodes and list rows, taken from its image lists:
// a pair that shows another picture while its node is selected (folders open, the
// Vardeck mark turns), and a Vardeck's picture, which is its site icon kept under its
// WID or else the stock "Vardeck" mark.
#include <QIcon>
#include <QMap>
#include <QString>

namespace rr
{

// An icon of an image list that shows selectedKey's picture while its item is selected.
QIcon pairedIcon(const QMap<QString, QIcon> &imageList, const QString &key, const QString &selectedKey);
// The site icon kept under the WID, else the stock Vardeck picture; withSelectedPicture
// pairs the stock picture with "SelVardeck" for a selected node (the trees).
QIcon vardeckIcon(const QMap<QString, QIcon> &imageList, const QString &wid, bool withSelectedPicture);

// vardeckIcon for many rows: the stock picture is made once.
class VardeckIcons
{
public:
    VardeckIcons(const QMap<QString, QIcon> &imageList, bool withSelectedPicture);
    QIcon of(const QString &wid) const;

private:
    const QMap<QString, QIcon> &m_images;
    QIcon m_stock;
};

} // namespace rr
