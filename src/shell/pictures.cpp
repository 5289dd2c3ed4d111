#include "shell/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace rr::pictures
{
namespace
{

const QColor kInk(40, 40, 40);
const QColor kPaper(250, 250, 245);
const QColor kFolder(230, 190, 80);
const QColor kFolderDark(170, 130, 40);
const QColor kBlue(40, 100, 200);
const QColor kGreen(40, 150, 60);
const QColor kRed(200, 40, 40);
const QColor kGold(240, 190, 30);

// Drawing happens on a 16-unit grid scaled to the requested size.
void page(QPainter &p)
{
    QPainterPath path;
    path.moveTo(3, 1.5);
    path.lineTo(10, 1.5);
    path.lineTo(13, 4.5);
    path.lineTo(13, 14.5);
    path.lineTo(3, 14.5);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4.5));
    p.drawLine(QPointF(10, 4.5), QPointF(13, 4.5));
}

void folder(QPainter &p, bool open)
{
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(kFolder);
    p.drawRect(QRectF(1.5, 4.5, 12, 9));
    p.drawRect(QRectF(1.5, 3, 5, 2));
    if (open) {
        p.setBrush(kFolder.lighter(115));
        p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
    }
}

void globe(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kBlue.darker(130), 1));
    p.setBrush(QColor(150, 200, 240));
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(r.center().x() - r.width() / 5, r.top(), r.width() * 2 / 5, r.height()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void badgePlus(QPainter &p, const QColor &color)
{
    p.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(12, 8.5), QPointF(12, 15.5));
    p.drawLine(QPointF(8.5, 12), QPointF(15.5, 12));
}

void badgeCross(QPainter &p)
{
    p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 9), QPointF(15, 15));
    p.drawLine(QPointF(15, 9), QPointF(9, 15));
}

void pencil(QPainter &p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kGold);
    p.drawPolygon(QPolygonF({QPointF(13.5, 5), QPointF(15.5, 7), QPointF(9, 13.5), QPointF(7, 11.5)}));
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({QPointF(7, 11.5), QPointF(9, 13.5), QPointF(6, 14.5)}));
}

void triangle(QPainter &p, bool right, double x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    if (right)
        p.drawPolygon(QPolygonF({QPointF(x, 3), QPointF(x + 7, 8), QPointF(x, 13)}));
    else
        p.drawPolygon(QPolygonF({QPointF(x + 7, 3), QPointF(x, 8), QPointF(x + 7, 13)}));
}

void star(QPainter &p, const QRectF &r)
{
    QPolygonF poly;
    for (int i = 0; i < 10; ++i) {
        const double radius = (i % 2 == 0 ? 0.5 : 0.22) * r.width();
        const double angle = -M_PI / 2 + i * M_PI / 5;
        poly << QPointF(r.center().x() + radius * std::cos(angle), r.center().y() + radius * std::sin(angle));
    }
    p.setPen(QPen(kGold.darker(140), 1));
    p.setBrush(kGold);
    p.drawPolygon(poly);
}

void magnifier(QPainter &p)
{
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(200, 230, 250));
    p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
}

void bookmark(QPainter &p, const QColor &color)
{
    page(p);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({QPointF(5, 1.5), QPointF(9, 1.5), QPointF(9, 9), QPointF(7, 7), QPointF(5, 9)}));
}

void window(QPainter &p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(kBlue);
    p.drawRect(QRectF(1.5, 2.5, 13, 2.5));
}

void paint(QPainter &p, Kind kind)
{
    switch (kind) {
    case Kind::NewVardeck:
        page(p);
        badgePlus(p, kGreen);
        break;
    case Kind::UpdateVardeck:
        page(p);
        pencil(p);
        break;
    case Kind::DeleteVardeck:
        page(p);
        badgeCross(p);
        break;
    case Kind::First:
        p.fillRect(QRectF(2, 3, 2, 10), kGreen);
        triangle(p, false, 5);
        break;
    case Kind::Previous:
        triangle(p, false, 4);
        break;
    case Kind::Next:
        triangle(p, true, 5);
        break;
    case Kind::Last:
        triangle(p, true, 4);
        p.fillRect(QRectF(12, 3, 2, 10), kGreen);
        break;
    case Kind::NewFolder:
        folder(p, false);
        badgePlus(p, kGreen);
        break;
    case Kind::RenameFolder:
        folder(p, false);
        pencil(p);
        break;
    case Kind::DeleteFolder:
        folder(p, false);
        badgeCross(p);
        break;
    case Kind::Search:
        magnifier(p);
        break;
    case Kind::OpenInBrowser:
        globe(p, QRectF(1.5, 1.5, 11, 11));
        p.setPen(QPen(kGreen, 2));
        p.drawLine(QPointF(8, 14), QPointF(14.5, 7.5));
        p.drawLine(QPointF(14.5, 7.5), QPointF(10.5, 7.5));
        p.drawLine(QPointF(14.5, 7.5), QPointF(14.5, 11.5));
        break;
    case Kind::GetFromBrowser:
        globe(p, QRectF(1.5, 1.5, 11, 11));
        p.setPen(QPen(kGreen, 2));
        p.drawLine(QPointF(12, 7), QPointF(12, 15));
        p.drawLine(QPointF(9, 12), QPointF(12, 15));
        p.drawLine(QPointF(15, 12), QPointF(12, 15));
        break;
    case Kind::BlankBrowser:
        window(p);
        break;
    case Kind::Options:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(170, 170, 170));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(8, 8);
            p.rotate(i * 45);
            p.drawRect(QRectF(-1.5, -7, 3, 3));
            p.restore();
        }
        p.drawEllipse(QRectF(3, 3, 10, 10));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6, 6, 4, 4));
        break;
    case Kind::Help: {
        p.setPen(QPen(kBlue.darker(120), 1));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        QFont f = p.font();
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Kind::Save:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4, 9.5, 8, 5));
        break;
    case Kind::Cancel:
        p.setPen(QPen(kRed, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
        break;
    case Kind::ExplorerAspect:
        folder(p, false);
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(4, 8), QPointF(4, 12));
        p.drawLine(QPointF(4, 10), QPointF(8, 10));
        p.drawLine(QPointF(4, 12), QPointF(8, 12));
        break;
    case Kind::WebAspect:
        globe(p, QRectF(1.5, 1.5, 13, 13));
        break;
    case Kind::SecureMark:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
        p.setPen(QPen(kInk, 1));
        p.setBrush(kGold);
        p.drawRect(QRectF(3, 6.5, 10, 8));
        break;
    case Kind::SiteMark:
        globe(p, QRectF(1.5, 1.5, 13, 13));
        break;
    case Kind::VardeckMark:
        bookmark(p, kBlue);
        break;
    case Kind::SelectedVardeckMark:
        bookmark(p, kRed);
        break;
    case Kind::FavoriteMark:
        star(p, QRectF(0.5, 0.5, 15, 15));
        break;
    case Kind::RootClosed:
    case Kind::RootOpen:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(2.5, 1.5, 11, 13));
        p.setBrush(kBlue);
        p.drawRect(QRectF(2.5, 1.5, 3, 13));
        if (kind == Kind::RootOpen)
            star(p, QRectF(6, 4, 8, 8));
        break;
    case Kind::ClosedFolder:
        folder(p, false);
        break;
    case Kind::OpenFolder:
        folder(p, true);
        break;
    case Kind::MoveVardeck:
    case Kind::MoveFolder:
        if (kind == Kind::MoveVardeck)
            bookmark(p, kBlue);
        else
            folder(p, false);
        p.setPen(QPen(kGreen, 2));
        p.drawLine(QPointF(8, 12), QPointF(15, 12));
        p.drawLine(QPointF(15, 12), QPointF(12, 9));
        p.drawLine(QPointF(15, 12), QPointF(12, 15));
        break;
    case Kind::Add:
        star(p, QRectF(0.5, 0.5, 12, 12));
        badgePlus(p, kGreen);
        break;
    case Kind::Remove:
        star(p, QRectF(0.5, 0.5, 12, 12));
        badgeCross(p);
        break;
    case Kind::Thumbnail:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setBrush(kGreen.lighter(140));
        p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(7, 7), QPointF(10, 10), QPointF(14, 13)}));
        break;
    }
}

} // namespace

QPixmap draw(Kind kind, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    paint(p, kind);
    return pixmap;
}

QPixmap toolbarImage(int number, int size)
{
    static constexpr Kind kImages[] = {
        Kind::NewVardeck, Kind::UpdateVardeck, Kind::DeleteVardeck,  Kind::First,        Kind::Previous,
        Kind::Next,       Kind::Last,          Kind::NewFolder,      Kind::RenameFolder, Kind::DeleteFolder,
        Kind::Search,     Kind::OpenInBrowser, Kind::GetFromBrowser, Kind::BlankBrowser, Kind::Options,
        Kind::Help,       Kind::Save,          Kind::Cancel,
    };
    if (number < 1 || number > int(std::size(kImages)))
        return QPixmap();
    return draw(kImages[number - 1], size);
}

} // namespace rr::pictures
