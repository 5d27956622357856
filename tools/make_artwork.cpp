// Draws the program's pictures into resources/: the banner of the main window and the About picture,
// each also at twice its size for high-DPI screens, as PNG and as bitmaps for the Windows program;
// the program icon in 16 colours at 32 x 32 pixels and in true colour with alpha at every size a
// desktop asks for (PNG for the windows and the desktop, one ICO holding them all for the Windows
// program file).
//
//   build/tools/make_artwork resources
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <tuple>
#include <vector>

namespace {

const QColor kGround(0x2e, 0x2e, 0x30);
const QColor kRed(0xd0, 0x10, 0x10);
const QColor kOutline(0x30, 0x00, 0x00);

// Glossy grey spheres scattered over a dark grey ground, the same pattern for every picture.
void DrawSpheres(QPainter& painter, QSize size) {
    painter.fillRect(QRect({}, size), kGround);
    QRandomGenerator random(1999);
    for (int k = 0; k < size.width() * size.height() / 900; ++k) {
        const QPointF centre(random.bounded(size.width()), random.bounded(size.height()));
        const double radius = 6 + random.bounded(22.0);
        QRadialGradient gloss(centre, radius, centre + QPointF(-radius / 2.5, -radius / 2.5));
        gloss.setColorAt(0.0, QColor(0xf4, 0xf4, 0xf4));
        gloss.setColorAt(0.25, QColor(0xb8, 0xb8, 0xbc));
        gloss.setColorAt(0.8, QColor(0x5a, 0x5a, 0x60));
        gloss.setColorAt(1.0, QColor(0x38, 0x38, 0x3c));
        painter.setPen(Qt::NoPen);
        painter.setBrush(gloss);
        painter.drawEllipse(centre, radius, radius);
    }
}

// Red capitals with a dark outline, centred on `centre`.
void DrawOutlined(QPainter& painter, const QString& text, const QFont& font, QPointF centre, double outline) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    path.translate(centre - path.boundingRect().center());
    painter.setPen(QPen(kOutline, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kRed);
    painter.drawPath(path);
}

QFont Heavy(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setWeight(QFont::Black);
    return font;
}

// A 24-bit picture on the spheres' ground, with `draw` painting the rest; `size` is in 96-dpi pixels
// and the image has `scale` times as many, the same drawing in finer detail.
template <class Draw> QImage Picture(QSize size, int scale, Draw draw) {
    QImage image(size * scale, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    DrawSpheres(painter, size);
    draw(painter);
    return image;
}

QImage Banner(int scale) {
    return Picture({350, 180}, scale, [](QPainter& painter) {
        DrawOutlined(painter, QStringLiteral("QUORVEL"), Heavy(52), {175, 78}, 3);
        DrawOutlined(painter, QStringLiteral("1.0"), Heavy(30), {175, 128}, 2);
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(10);
        small.setBold(true);
        painter.setFont(small);
        painter.setPen(kRed);
        painter.drawText(QPointF(14, 173), QStringLiteral("by Tarnwick & Dravo"));
    });
}

QImage AboutPicture(int scale) {
    return Picture({164, 180}, scale, [](QPainter& painter) {
        painter.translate(82, 96);
        painter.rotate(-47);
        DrawOutlined(painter, QStringLiteral("QUORVEL 1.0"), Heavy(25), {0, 0}, 2);
    });
}

// Sixteen colours; the first is the transparent ground.
const std::array<QRgb, 16> kIconColours{
    qRgba(0, 0, 0, 0),      qRgb(0x30, 0x00, 0x00), qRgb(0x50, 0x00, 0x00), qRgb(0x70, 0x04, 0x04),
    qRgb(0x8c, 0x08, 0x08), qRgb(0xa8, 0x10, 0x10), qRgb(0xc4, 0x20, 0x20), qRgb(0xdc, 0x40, 0x40),
    qRgb(0xe8, 0x70, 0x70), qRgb(0xf0, 0xa0, 0xa0), qRgb(0xff, 0xff, 0xff), qRgb(0xe0, 0xe0, 0xe0),
    qRgb(0xb0, 0xb0, 0xb0), qRgb(0x80, 0x80, 0x80), qRgb(0x40, 0x40, 0x40), qRgb(0x00, 0x00, 0x00)};

int Nearest(QRgb pixel) {
    if (qAlpha(pixel) < 128)
        return 0;
    int best = 1, bestDistance = INT_MAX;
    for (int k = 1; k < int(kIconColours.size()); ++k) {
        const int r = qRed(pixel) - qRed(kIconColours[k]), g = qGreen(pixel) - qGreen(kIconColours[k]),
                  b = qBlue(pixel) - qBlue(kIconColours[k]);
        if (r * r + g * g + b * b < bestDistance) {
            bestDistance = r * r + g * g + b * b;
            best = k;
        }
    }
    return best;
}

// Two dark-red block letters with small white sparkles, on a transparent ground, in true colour with
// alpha: the 32-pixel design scaled to `size` pixels.
QImage TrueColourIcon(int size) {
    QImage drawn(size, size, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    QFont font = Heavy(19);
    for (const auto& [letter, x, y] : {std::tuple{"Q", 1.0, 17.0}, std::tuple{"V", 14.0, 30.0}}) {
        QPainterPath path;
        path.addText(x, y, font, QString::fromLatin1(letter));
        painter.setPen(QPen(QColor(0x30, 0, 0), 1.5));
        painter.setBrush(QColor(0x8c, 0x08, 0x08));
        painter.drawPath(path);
    }
    // Below 32 pixels a thinner sparkle would fade into the letters: it keeps one whole pixel.
    painter.setPen(QPen(Qt::white, std::max(1.0, 32.0 / size)));
    for (const QPoint spark : {QPoint(4, 6), QPoint(25, 20), QPoint(12, 15)}) {
        painter.drawLine(spark - QPoint(2, 0), spark + QPoint(2, 0));
        painter.drawLine(spark - QPoint(0, 2), spark + QPoint(0, 2));
    }
    painter.end();
    return drawn;
}

// The same design at 32 x 32 in 16 colours, the first of them transparent.
QImage SixteenColourIcon() {
    const QImage drawn = TrueColourIcon(32);
    QImage icon(32, 32, QImage::Format_Indexed8);
    icon.setColorTable(QList<QRgb>(kIconColours.begin(), kIconColours.end()));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            icon.setPixel(x, y, static_cast<uint>(Nearest(drawn.pixel(x, y))));
    return icon;
}

void Put16(QByteArray& out, quint16 value) { out.append(char(value & 0xFF)).append(char(value >> 8)); }
void Put32(QByteArray& out, quint32 value) {
    Put16(out, quint16(value & 0xFFFF));
    Put16(out, quint16(value >> 16));
}

// The mask rows of an icon image, bottom row first, each padded to four bytes: a set bit lets the
// ground through.
template <class Transparent> QByteArray Mask(int size, Transparent transparent) {
    QByteArray mask;
    const int rowBytes = (size + 31) / 32 * 4;
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < size; ++x)
            if (transparent(x, y))
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        mask += row;
    }
    return mask;
}

QByteArray BitmapHeader(int size, int bitsPerPixel, int imageBytes, int colours) {
    QByteArray header;
    Put32(header, 40);  // BITMAPINFOHEADER
    Put32(header, quint32(size));
    Put32(header, quint32(size * 2));  // colour rows and mask rows
    Put16(header, 1);
    Put16(header, quint16(bitsPerPixel));
    Put32(header, 0);
    Put32(header, quint32(imageBytes));
    Put32(header, 0);
    Put32(header, 0);
    Put32(header, quint32(colours));
    Put32(header, 0);
    return header;
}

// The 32 x 32 image in 4 bits a pixel, with its mask.
QByteArray SixteenColourEntry(const QImage& icon) {
    QByteArray image = BitmapHeader(32, 4, 32 * 16 + 32 * 4, 16);
    for (const QRgb colour : kIconColours)
        image.append(char(qBlue(colour)))
            .append(char(qGreen(colour)))
            .append(char(qRed(colour)))
            .append('\0');
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; x += 2)
            image.append(char((icon.pixelIndex(x, y) << 4) | icon.pixelIndex(x + 1, y)));
    return image + Mask(32, [&icon](int x, int y) { return icon.pixelIndex(x, y) == 0; });
}

// A true-colour image in 32 bits a pixel, blue-green-red-alpha, with the mask that older readers use.
QByteArray TrueColourEntry(const QImage& icon) {
    const int size = icon.width();
    const QByteArray mask = Mask(size, [&icon](int x, int y) { return qAlpha(icon.pixel(x, y)) < 128; });
    QByteArray image = BitmapHeader(size, 32, size * size * 4 + int(mask.size()), 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = icon.pixel(x, y);
            image.append(char(qBlue(pixel))).append(char(qGreen(pixel))).append(char(qRed(pixel)));
            image.append(char(qAlpha(pixel)));
        }
    return image + mask;
}

QByteArray Png(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

struct IconEntry {
    int size, colours, bitsPerPixel;
    QByteArray data;
};

// A Windows icon file: a directory of the images, then the images. Windows picks the one whose size
// and colour depth suit where it shows the icon.
QByteArray IconFile(const std::vector<IconEntry>& entries) {
    QByteArray file;
    Put16(file, 0);
    Put16(file, 1);  // an icon
    Put16(file, quint16(entries.size()));
    quint32 offset = 6 + 16 * quint32(entries.size());
    for (const IconEntry& entry : entries) {
        // 256 pixels are written as 0, which the one byte cannot hold.
        file.append(char(entry.size % 256)).append(char(entry.size % 256));
        file.append(char(entry.colours)).append('\0');
        Put16(file, 1);
        Put16(file, quint16(entry.bitsPerPixel));
        Put32(file, quint32(entry.data.size()));
        Put32(file, offset);
        offset += quint32(entry.data.size());
    }
    for (const IconEntry& entry : entries)
        file += entry.data;
    return file;
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

constexpr std::array kIconSizes{16, 24, 32, 48, 64, 128, 256};

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources"));
    bool written = true;
    // The Windows program draws its pictures with GDI alone, which reads bitmaps and not PNG.
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("_%1x").arg(scale);
        for (const auto& [name, picture] : {std::pair{QStringLiteral("banner"), Banner(scale)},
                                            std::pair{QStringLiteral("about"), AboutPicture(scale)}})
            written = written && Save(picture, out.filePath(name + suffix + ".png")) &&
                      Save(picture, out.filePath(name + suffix + ".bmp"));
    }

    const QImage icon = SixteenColourIcon();
    std::vector<IconEntry> entries{{32, 16, 4, SixteenColourEntry(icon)}};
    written = written && Save(icon, out.filePath("icon.png"));
    for (const int size : kIconSizes) {
        const QImage trueColour = TrueColourIcon(size);
        written = written && Save(trueColour, out.filePath(QStringLiteral("icon-%1.png").arg(size)));
        // Windows reads its largest icon as PNG, which keeps the file small.
        entries.push_back({size, 0, 32, size == 256 ? Png(trueColour) : TrueColourEntry(trueColour)});
    }
    QFile ico(out.filePath("quorvel.ico"));
    written = written && ico.open(QIODevice::WriteOnly) && ico.write(IconFile(entries)) > 0;
    return written ? 0 : 1;
}
