// Draws the program's pictures into resources/: the banner of the main window, the About picture and
// the program icon (PNG for the windows and the desktop, ICO for the Windows program file); the
// pictures also as bitmaps for the Windows program.
//
//   build/tools/make_artwork resources
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <array>
#include <cstdio>

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

// A 24-bit picture on the spheres' ground, with `draw` painting the rest.
template <class Draw> QImage Picture(QSize size, Draw draw) {
    QImage image(size, QImage::Format_RGB888);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawSpheres(painter, size);
    draw(painter);
    return image;
}

QImage Banner() {
    return Picture({350, 180}, [](QPainter& painter) {
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

QImage AboutPicture() {
    return Picture({164, 180}, [](QPainter& painter) {
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

// Two dark-red block letters with small white sparkles, on a transparent ground, in 16 colours.
QImage Icon() {
    QImage drawn(32, 32, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    {
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font = Heavy(19);
        for (const auto& [letter, x, y] : {std::tuple{"Q", 1.0, 17.0}, std::tuple{"V", 14.0, 30.0}}) {
            QPainterPath path;
            path.addText(x, y, font, QString::fromLatin1(letter));
            painter.setPen(QPen(QColor(0x30, 0, 0), 1.5));
            painter.setBrush(QColor(0x8c, 0x08, 0x08));
            painter.drawPath(path);
        }
        painter.setPen(QPen(Qt::white, 1));
        for (const QPoint spark : {QPoint(4, 6), QPoint(25, 20), QPoint(12, 15)}) {
            painter.drawLine(spark - QPoint(2, 0), spark + QPoint(2, 0));
            painter.drawLine(spark - QPoint(0, 2), spark + QPoint(0, 2));
        }
    }
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

// A Windows icon file: one 32 x 32 image, 4 bits a pixel, with its transparency (AND) mask.
QByteArray IconFile(const QImage& icon) {
    QByteArray image;
    Put32(image, 40);  // BITMAPINFOHEADER
    Put32(image, 32);
    Put32(image, 64);  // colour rows and mask rows
    Put16(image, 1);
    Put16(image, 4);
    Put32(image, 0);
    Put32(image, 32 * 16 + 32 * 4);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 16);
    Put32(image, 0);
    for (const QRgb colour : kIconColours)
        image.append(char(qBlue(colour)))
            .append(char(qGreen(colour)))
            .append(char(qRed(colour)))
            .append('\0');
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; x += 2)
            image.append(char((icon.pixelIndex(x, y) << 4) | icon.pixelIndex(x + 1, y)));
    for (int y = 31; y >= 0; --y) {
        quint32 row = 0;
        for (int x = 0; x < 32; ++x)
            if (icon.pixelIndex(x, y) == 0)
                row |= 1u << (31 - x);
        image.append(char(row >> 24)).append(char(row >> 16)).append(char(row >> 8)).append(char(row));
    }

    QByteArray file;
    Put16(file, 0);
    Put16(file, 1);  // an icon
    Put16(file, 1);  // one image
    file.append(char(32)).append(char(32)).append(char(16)).append('\0');
    Put16(file, 1);
    Put16(file, 4);
    Put32(file, quint32(image.size()));
    Put32(file, 6 + 16);
    return file + image;
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources"));
    const QImage icon = Icon();
    const QImage banner = Banner();
    const QImage about = AboutPicture();
    QFile ico(out.filePath("quorvel.ico"));
    // The Windows program draws its pictures with GDI alone, which reads bitmaps and not PNG.
    const bool written = Save(banner, out.filePath("banner.png")) && Save(about, out.filePath("about.png")) &&
                         Save(banner.convertToFormat(QImage::Format_RGB888), out.filePath("banner.bmp")) &&
                         Save(about.convertToFormat(QImage::Format_RGB888), out.filePath("about.bmp")) &&
                         Save(icon, out.filePath("icon.png")) && ico.open(QIODevice::WriteOnly) &&
                         ico.write(IconFile(icon)) > 0;
    return written ? 0 : 1;
}
