// Shows the button in all eight styles in five states (normal, hover, pressed,
// default, disabled) and in the window shapes 1 to 8, and saves the sheet as a PNG.
//   button_gallery [out.png]   (needs a display: the hover look asks where the pointer is)
#include "controls/qbbuttons_h.h"

#include <QApplication>
#include <QBitmap>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <cstdio>

using rr::qbButtons_H;

namespace
{

constexpr int kCellW = 120, kCellH = 44, kButtonW = 100, kButtonH = 30, kLabelW = 70, kHeader = 24;

QPixmap pictureOf(bool withKey)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(withKey ? QColor(255, 0, 255) : QColor(255, 255, 255));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 200));
    p.drawEllipse(QRect(2, 2, 28, 28));
    p.setBrush(QColor(250, 210, 40));
    p.drawRect(QRect(11, 11, 10, 10));
    return QPixmap::fromImage(image);
}

// The button's look as it shows on its host: the mask cut out of the host's colour.
QImage capture(qbButtons_H &button, const QColor &host)
{
    QImage cell(button.size(), QImage::Format_RGB32);
    cell.fill(host);
    QPainter p(&cell);
    if (!button.mask().isEmpty())
        p.setClipRegion(button.mask());
    p.drawPixmap(0, 0, button.grab());
    return cell;
}

enum class State { Normal, Hover, Pressed, Default, Disabled };

QImage shoot(QWidget &host, int style, State state, int shape = 0)
{
    qbButtons_H button(&host);
    button.move(20, 20);
    button.resize(kButtonW, kButtonH);
    button.setButtonStyle(style);
    button.setCaption(shape == 0 ? QStringLiteral("&Save") : QStringLiteral("Shape %1").arg(shape));
    if (shape > 0 && shape < 7)
        button.resize(130, kButtonH);
    if (shape >= 7) {
        button.setPicture(pictureOf(true));
        button.resize(44, 44);
    } else if (shape == 0) {
        button.setPicture(pictureOf(false).scaled(16, 16));
    }
    if (shape > 0)
        button.setButtonShape(shape);
    button.show();
    QApplication::processEvents();
    switch (state) {
    case State::Hover: {
        const QPoint centre = button.rect().center();
        QCursor::setPos(button.mapToGlobal(centre));
        QApplication::processEvents();
        QMouseEvent move(QEvent::MouseMove, QPointF(centre), button.mapToGlobal(QPointF(centre)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &move);
        break;
    }
    case State::Pressed: {
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(&button, &space);
        break;
    }
    case State::Default:
        button.setDefaultLook(true);
        break;
    case State::Disabled:
        button.setEnabled(false);
        break;
    case State::Normal:
        break;
    }
    QImage shot = capture(button, host.palette().color(QPalette::Window));
    QCursor::setPos(0, 0);
    return shot;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("button_gallery.png");

    QWidget host;
    host.resize(160, 100);
    host.move(900, 600);
    host.show();
    QApplication::processEvents();

    const QStringList states = {"normal", "hover", "pressed", "default", "disabled"};
    const int shapeRows = 2;
    QImage sheet(kLabelW + 8 * 140, kHeader + (8 + shapeRows) * kCellH + 40, QImage::Format_RGB32);
    sheet.fill(host.palette().color(QPalette::Window));
    QPainter p(&sheet);
    for (int s = 0; s < 5; ++s)
        p.drawText(QRect(kLabelW + s * kCellW, 0, kCellW, kHeader), Qt::AlignCenter, states[s]);
    for (int style = 0; style < 8; ++style) {
        const int y = kHeader + style * kCellH;
        p.drawText(QRect(0, y, kLabelW, kCellH), Qt::AlignCenter, QStringLiteral("style %1").arg(style));
        for (int s = 0; s < 5; ++s)
            p.drawImage(kLabelW + s * kCellW + 10, y + 7, shoot(host, style, State(s)));
    }
    // Shapes 1..8 in the classic and the hosts' style, at rest.
    const int shapeTop = kHeader + 8 * kCellH + 10;
    for (int row = 0; row < shapeRows; ++row) {
        const int style = row == 0 ? 0 : 2;
        const int y = shapeTop + row * (kCellH + 10);
        p.drawText(QRect(0, y, kLabelW, kCellH), Qt::AlignCenter, QStringLiteral("shapes, %1").arg(style));
        for (int shape = 1; shape <= 8; ++shape)
            p.drawImage(kLabelW + (shape - 1) * 140, y, shoot(host, style, State::Normal, shape));
    }
    p.end();
    if (!sheet.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("wrote %s\n", qPrintable(out));
    std::fflush(stdout);
    host.hide();

    QLabel view;
    view.setWindowTitle(QStringLiteral("Button gallery"));
    view.setPixmap(QPixmap::fromImage(sheet));
    view.resize(sheet.size());
    view.move(0, 0);
    view.show();
    return app.exec();
}
