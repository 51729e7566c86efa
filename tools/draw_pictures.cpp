// Draws the window's pictures and writes them as PNG files:
//
//   vellumin-draw-pictures FOLDER
//
// vellumin.png  32 x 32  the program's icon, a tilted yellow biscuit with dark dots
// vellumin-N.png         the same icon at the other sizes desktops and Windows ask
//                        for (16, 24, 48, 64, 128, 256), drawn smooth
// door.png      18 x 18  the close button's open door
// door_disabled.png      the same door greyed, for the disabled button
//
// The small pictures are drawn without smoothing in a handful of solid
// colours, so that they stay crisp at their small size; the icon's other sizes
// are the same drawing, scaled and smoothed, since a menu, a HiDPI panel or a
// software centre shows it larger than 32 pixels. The PNG files are kept in the
// repository; run this again only to change them.

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cstdio>

namespace {

QImage blank(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage biscuit()
{
    QImage image = blank(32);
    QPainter painter(&image);
    painter.translate(16, 16);
    painter.rotate(-25);

    const QRect body(-13, -9, 26, 18);
    painter.setPen(QPen(QColor(0x80, 0x40, 0x00), 1));
    painter.setBrush(QColor(0xC0, 0x80, 0x00)); // the baked edge, one pixel down-right
    painter.drawRoundedRect(body.translated(1, 2), 4, 4);
    painter.setBrush(QColor(0xFF, 0xFF, 0x00));
    painter.drawRoundedRect(body, 4, 4);

    // The docking holes in two rows.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x20, 0x00));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4 - row; ++column)
            painter.drawRect(-9 + column * 6 + row * 3, -4 + row * 7, 2, 2);
    return image;
}

// The biscuit at any size: the drawing above in its 32-pixel units, smoothed,
// with round holes and a little light on the top. Lines keep at least one
// pixel at the small sizes and grow less than the biscuit at the large ones.
QImage smoothBiscuit(int size)
{
    QImage image = blank(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 32.0;
    painter.scale(unit, unit);
    painter.translate(16, 16);
    painter.rotate(-25);

    const QRectF body(-13, -9, 26, 18);
    const QColor crust(0x80, 0x40, 0x00);
    painter.setPen(QPen(crust, std::max(0.5, 1.0 / unit)));
    painter.setBrush(QColor(0xC0, 0x80, 0x00));
    painter.drawRoundedRect(body.translated(1, 2), 4, 4);
    QLinearGradient light(0, body.top(), 0, body.bottom());
    light.setColorAt(0, QColor(0xFF, 0xFF, 0x60));
    light.setColorAt(1, QColor(0xFF, 0xE0, 0x00));
    painter.setBrush(light);
    painter.drawRoundedRect(body, 4, 4);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x40, 0x20, 0x00));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4 - row; ++column)
            painter.drawEllipse(QRectF(-9 + column * 6 + row * 3, -4 + row * 7, 2, 2));
    return image;
}

QImage door()
{
    QImage image = blank(18);
    QPainter painter(&image);
    const QColor frame(0x40, 0x20, 0x00);

    // The doorway, dark inside, in its frame.
    painter.setPen(frame);
    painter.setBrush(QColor(0x20, 0x20, 0x20));
    painter.drawRect(3, 1, 10, 15);
    // The floor.
    painter.drawLine(0, 16, 17, 16);
    // The door swung open towards the viewer, hinged on the right post.
    const QPolygon leaf({QPoint(13, 1), QPoint(17, 3), QPoint(17, 17), QPoint(13, 16)});
    painter.setBrush(QColor(0xC0, 0x80, 0x40));
    painter.drawPolygon(leaf);
    // Its knob.
    painter.setPen(QColor(0xFF, 0xFF, 0x00));
    painter.drawPoint(16, 9);
    // Light falling through the doorway.
    painter.setPen(QColor(0xFF, 0xFF, 0x80));
    painter.drawLine(5, 15, 11, 15);
    return image;
}

// The greyed form of a picture: each colour turned to a light grey of its
// brightness, so that the shape stays readable but looks switched off.
QImage greyed(const QImage &picture)
{
    QImage image = blank(picture.width());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            const int grey = 0x80 + qGray(pixel) / 2;
            image.setPixelColor(x, y, QColor(grey, grey, grey));
        }
    return image;
}

bool save(const QImage &image, const QDir &folder, const QString &name)
{
    const QString path = folder.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vellumin-draw-pictures FOLDER\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QImage doorPicture = door();
    bool ok = save(biscuit(), folder, QStringLiteral("vellumin.png")) &&
              save(doorPicture, folder, QStringLiteral("door.png")) &&
              save(greyed(doorPicture), folder, QStringLiteral("door_disabled.png"));
    for (const int size : {16, 24, 48, 64, 128, 256})
        ok = ok && save(smoothBiscuit(size), folder, QStringLiteral("vellumin-%1.png").arg(size));
    return ok ? 0 : 1;
}
