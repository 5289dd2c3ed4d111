#pragma once
// The pictures of the window's tree nodes and list rows, taken from its image lists:
// a pair that shows another picture while its node is selected (folders open, the
// Vardeck mark turns), and a Vardeck's picture, which is its site icon kept under its
// WID or else the stock "Vardeck" mark.
#include <QIcon>
#include <QMap>
#include <QString>
#include <QStringList>

namespace rr
{

// An icon of an image list that shows selectedKey's picture while its item is selected.
QIcon pairedIcon(const QMap<QString, QIcon> &imageList, const QString &key, const QString &selectedKey);
// The site icon kept under the WID, else the stock Vardeck picture; withSelectedPicture
// pairs the stock picture with "SelVardeck" for a selected node (the trees).
QIcon vardeckIcon(const QMap<QString, QIcon> &imageList, const QString &wid, bool withSelectedPicture);

// The Vardecks' pictures by key (the window's ImageListWM): each Vardeck's site icon
// under its WID, any other picture of the icon folders under its name, and the stock
// marks "Vardeck" and "SelVardeck", which stand for a Vardeck without a site icon.
// Every list and tree of Vardecks takes its pictures from here.
class VardeckPictures
{
public:
    // The Vardeck's picture (vardeckIcon).
    QIcon of(const QString &wid, bool withSelectedPicture) const;
    // The picture kept under key; a null icon when there is none.
    QIcon picture(const QString &key) const { return m_pictures.value(key); }
    bool has(const QString &key) const { return m_pictures.contains(key); }
    QStringList keys() const { return m_pictures.keys(); }
    // A number that changes with the picture kept under key; -1 when there is none.
    qint64 cacheKey(const QString &key) const;
    // A Vardeck's site icon, kept under its WID in place of an older one.
    void setSiteIcon(const QString &wid, const QIcon &icon);
    void forgetSiteIcon(const QString &wid);
    // Every picture replaced by those given; a stock mark they lack is plain.
    void replaceAll(QMap<QString, QIcon> pictures, const QIcon &plain);
    // Every picture by key, for a window that shows many (the duplicates window).
    const QMap<QString, QIcon> &byKey() const { return m_pictures; }

private:
    QMap<QString, QIcon> m_pictures;
};

// vardeckIcon for many rows: the stock picture is made once.
class VardeckIcons
{
public:
    VardeckIcons(const QMap<QString, QIcon> &imageList, bool withSelectedPicture);
    VardeckIcons(const VardeckPictures &pictures, bool withSelectedPicture)
        : VardeckIcons(pictures.byKey(), withSelectedPicture)
    {
    }
    QIcon of(const QString &wid) const;

private:
    const QMap<QString, QIcon> &m_images;
    QIcon m_stock;
};

} // namespace rr
