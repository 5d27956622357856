// The pictures the windows show and the program icon, checked in the form they are stored: size,
// colour depth, and that every size shows the same picture; and the picture boxes, which show the
// bitmap for their window's scale.
#include "about_window.h"
#include "main_window.h"
#include "qt_widgets.h"

#include <QFile>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <ostream>
#include <tuple>
#include <vector>

namespace quorvel {
namespace {

struct Png {
    int width = 0, height = 0, bitDepth = 0, colourType = 0;
    int paletteColours = 0;
    bool transparency = false;
};

std::uint32_t BigEndian(const QByteArray& bytes, qsizetype at) {
    return (std::uint32_t(std::uint8_t(bytes[at])) << 24) |
           (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint32_t(std::uint8_t(bytes[at + 3]));
}

// The byte at `at`, and the 16- and 32-bit numbers stored there least significant byte first.
int Byte(const QByteArray& bytes, qsizetype at) { return int(std::uint8_t(bytes.at(at))); }
int Word(const QByteArray& bytes, qsizetype at) { return Byte(bytes, at) | (Byte(bytes, at + 1) << 8); }
qsizetype DWord(const QByteArray& bytes, qsizetype at) {
    return qsizetype(Word(bytes, at)) | (qsizetype(Word(bytes, at + 2)) << 16);
}

// The mean difference of two images of one size, over their colour channels, from 0 to 255.
double MeanDifference(const QImage& a, const QImage& b) {
    EXPECT_EQ(a.size(), b.size());
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

Png ReadPng(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = file.readAll();
    Png png;
    EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
    for (qsizetype at = 8; at + 8 <= bytes.size();) {
        const std::uint32_t length = BigEndian(bytes, at);
        const QByteArray type = bytes.mid(at + 4, 4);
        if (type == "IHDR") {
            png.width = int(BigEndian(bytes, at + 8));
            png.height = int(BigEndian(bytes, at + 12));
            png.bitDepth = std::uint8_t(bytes[at + 16]);
            png.colourType = std::uint8_t(bytes[at + 17]);
        } else if (type == "PLTE") {
            png.paletteColours = int(length / 3);
        } else if (type == "tRNS") {
            png.transparency = true;
        }
        at += 12 + qsizetype(length);
    }
    return png;
}

constexpr int kTrueColour = 2, kPalette = 3;

TEST(Pictures, BannerAndAboutPictureAreTrueColourOfTheirSize) {
    const Png banner = ReadPng(":/quorvel/banner.png");
    EXPECT_EQ(banner.width, 350);
    EXPECT_EQ(banner.height, 180);
    EXPECT_EQ(banner.colourType, kTrueColour);  // 3 x 8 bits: 24-bit colour, no alpha
    EXPECT_EQ(banner.bitDepth, 8);

    const Png about = ReadPng(":/quorvel/about.png");
    EXPECT_EQ(about.width, 164);
    EXPECT_EQ(about.height, 180);
    EXPECT_EQ(about.colourType, kTrueColour);
    EXPECT_EQ(about.bitDepth, 8);
}

TEST(Pictures, ProgramIconHasSixteenColoursAndATransparentGround) {
    const Png icon = ReadPng(":/quorvel/icon.png");
    EXPECT_EQ(icon.width, 32);
    EXPECT_EQ(icon.height, 32);
    EXPECT_EQ(icon.colourType, kPalette);
    EXPECT_EQ(icon.paletteColours, 16);
    EXPECT_TRUE(icon.transparency);
}

TEST(Pictures, DoubleSizePicturesAreTheSamePicturesAtTwiceTheSize) {
    for (const auto& [name, width, height] :
         {std::tuple{"banner", 700, 360}, std::tuple{"about", 328, 360}}) {
        const QString single = QStringLiteral(":/quorvel/%1.png").arg(name);
        const QString doubled = QStringLiteral(":/quorvel/%1_2x.png").arg(name);
        const Png png = ReadPng(doubled);
        EXPECT_EQ(png.width, width) << name;
        EXPECT_EQ(png.height, height) << name;
        EXPECT_EQ(png.colourType, kTrueColour) << name;
        // Halved, it is the picture of 96 dpi, up to the finer edges it draws.
        const QImage halved =
            QImage(doubled).scaled(QImage(single).size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(MeanDifference(halved, QImage(single)), 6.0) << name;
    }
}

struct IconEntry {
    int width, height, colours, bitsPerPixel;
};

bool operator==(const IconEntry& a, const IconEntry& b) {
    return a.width == b.width && a.height == b.height && a.colours == b.colours &&
           a.bitsPerPixel == b.bitsPerPixel;
}

std::ostream& operator<<(std::ostream& out, const IconEntry& e) {
    return out << e.width << "x" << e.height << " " << e.colours << " colours " << e.bitsPerPixel << " bits";
}

TEST(Pictures, WindowsIconFileHoldsTheSixteenColourImageAndEveryTrueColourSize) {
    QFile file(QUORVEL_RESOURCES "/quorvel.ico");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    ASSERT_EQ(Word(ico, 2), 1);  // an icon
    ASSERT_EQ(Word(ico, 4), 8);
    // A width or height of 0 in the directory stands for 256.
    const std::vector<IconEntry> expected{{32, 32, 16, 4},   {16, 16, 0, 32},  {24, 24, 0, 32},
                                          {32, 32, 0, 32},   {48, 48, 0, 32},  {64, 64, 0, 32},
                                          {128, 128, 0, 32}, {256, 256, 0, 32}};
    for (int k = 0; k < 8; ++k) {
        const qsizetype entry = 6 + 16 * k;
        const IconEntry found{Byte(ico, entry) ? Byte(ico, entry) : 256,
                              Byte(ico, entry + 1) ? Byte(ico, entry + 1) : 256, Byte(ico, entry + 2),
                              Word(ico, entry + 6)};
        EXPECT_EQ(found, expected[k]) << "image " << k;
        const qsizetype size = DWord(ico, entry + 8), at = DWord(ico, entry + 12);
        ASSERT_LE(at + size, ico.size()) << "image " << k;
        const QByteArray image = ico.mid(at, size);
        if (found.width == 256) {
            // Stored as PNG, in true colour with alpha.
            ASSERT_TRUE(image.startsWith("\x89PNG\r\n\x1a\n"));
            EXPECT_EQ(BigEndian(image, 16), 256u);
            EXPECT_EQ(BigEndian(image, 20), 256u);
            EXPECT_EQ(std::uint8_t(image[25]), 6);  // red, green, blue, alpha
        } else {
            // A bitmap with colour rows and mask rows, of the directory's size and depth.
            EXPECT_EQ(DWord(ico, at), 40);
            EXPECT_EQ(DWord(ico, at + 4), found.width);
            EXPECT_EQ(DWord(ico, at + 8), 2 * found.height);
            EXPECT_EQ(Word(ico, at + 14), found.bitsPerPixel);
        }
    }
}

// The true-colour images of an icon file by their width, read as they are stored: a PNG, or rows of
// blue, green, red and straight alpha, bottom row first. Qt's icon reader hands these over
// premultiplied, and turning that back into straight alpha rounds a half up or down by the
// conversion routine Qt picks for the processor.
std::map<int, QImage> TrueColourIconImages(const QByteArray& ico) {
    std::map<int, QImage> images;
    for (int k = 0; k < Word(ico, 4) && 6 + 16 * (k + 1) <= ico.size(); ++k) {
        const qsizetype entry = 6 + 16 * k;
        if (Word(ico, entry + 6) != 32)
            continue;
        const QByteArray data = ico.mid(DWord(ico, entry + 12), DWord(ico, entry + 8));
        QImage image;
        if (data.startsWith("\x89PNG\r\n\x1a\n")) {
            image = QImage::fromData(data, "PNG");
        } else if (data.size() < 40) {
            ADD_FAILURE() << "image " << k << ": no bitmap header";
            continue;
        } else {
            const int width = int(DWord(data, 4)), height = int(DWord(data, 8) / 2);
            EXPECT_EQ(DWord(data, 16), 0) << width << " pixels: compressed rows";
            if (data.size() < 40 + 4 * qsizetype(width) * height) {
                ADD_FAILURE() << width << " pixels: the rows end early";
                continue;
            }
            image = QImage(width, height, QImage::Format_ARGB32);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const qsizetype at = 40 + 4 * (qsizetype(height - 1 - y) * width + x);
                    image.setPixel(
                        x, y,
                        qRgba(Byte(data, at + 2), Byte(data, at + 1), Byte(data, at), Byte(data, at + 3)));
                }
        }
        images.emplace(image.width(), image);
    }
    return images;
}

// Every true-colour image of the icon file, as Windows would pick it, and every PNG the desktop
// installs: the same two letters on a transparent ground, whose opaque part scaled to 32 pixels
// covers the opaque part of the 16-colour image. Both files are compared as they store their pixels,
// in straight alpha.
TEST(Pictures, EveryIconSizeShowsTheSameDesignOnATransparentGround) {
    const QImage sixteen = QImage(":/quorvel/icon.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(sixteen.size(), QSize(32, 32));
    QFile file(QUORVEL_RESOURCES "/quorvel.ico");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::map<int, QImage> images = TrueColourIconImages(file.readAll());
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage png(QStringLiteral(QUORVEL_RESOURCES "/icon-%1.png").arg(size));
        // Red, green, blue and alpha of 8 bits, which Qt reads unchanged.
        ASSERT_EQ(png.format(), QImage::Format_ARGB32) << size;
        ASSERT_EQ(png.size(), QSize(size, size));
        const auto inIco = images.find(size);
        ASSERT_NE(inIco, images.end()) << size << " pixels: not in the icon file";
        EXPECT_EQ(inIco->second, png) << size << " pixels: the icon file and the desktop's PNG differ";

        for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1)})
            EXPECT_EQ(qAlpha(png.pixel(corner)), 0)
                << size << " pixels, corner " << corner.x() << "," << corner.y();
        bool softEdges = false;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                softEdges = softEdges || (qAlpha(png.pixel(x, y)) > 0 && qAlpha(png.pixel(x, y)) < 255);
        EXPECT_TRUE(softEdges || size < 32) << size << " pixels: no alpha between opaque and transparent";

        const QImage at32 = png.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        int agree = 0, darkRed = 0, opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const QRgb pixel = at32.pixel(x, y);
                agree += (qAlpha(pixel) >= 128) == (qAlpha(sixteen.pixel(x, y)) >= 128);
                if (qAlpha(pixel) >= 128) {
                    ++opaque;
                    darkRed += qRed(pixel) > 2 * qGreen(pixel) + 20 && qRed(pixel) < 0xd0;
                }
            }
        EXPECT_GE(agree, 32 * 32 * 9 / 10) << size << " pixels: another shape than the 16-colour icon";
        EXPECT_GE(darkRed, opaque / 2) << size << " pixels: the letters are not dark red";
    }
}

// A picture box shows the bitmap drawn for its window's scale: at a device pixel ratio of 2
// (QT_SCALE_FACTOR=2) the bitmap of twice the size pixel for pixel, at 1 the 96-dpi bitmap unscaled;
// at 1.5 the bitmap of twice the size shrunk to the picture's size, which both bitmaps brought to
// that size resemble, so the picture shown must be clearly nearer to the larger one than to the
// smaller one blown up. Beyond the picture, the window's colour.
TEST(PictureBoxes, ShowTheBitmapForTheWindowsScale) {
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    windows::frmMain main;
    windows::frmAbout about;
    for (const auto& [form, picture] :
         {std::pair<forms::Form*, QString>{&main, "banner"}, {&about, "about"}}) {
        form->Show();
        QWidget* window = testing::qt::WindowWidget(*form);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QWidget* box = window->findChild<QWidget*>("Picture1");
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(box->devicePixelRatioF(), scale);
        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        auto bitmap = [&picture](const char* variant) {
            const QString file = QStringLiteral(QUORVEL_RESOURCES "/%1%2.png").arg(picture, variant);
            const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);
            EXPECT_FALSE(image.isNull()) << file.toStdString();
            return image;
        };
        const QImage single = bitmap("");
        const QSize drawn(int(single.width() * scale), int(single.height() * scale));
        // Both boxes are wider than their pictures.
        ASSERT_GT(shown.width(), drawn.width() + 1);
        EXPECT_EQ(shown.pixel(drawn.width() + 1, 2), box->palette().color(QPalette::Window).rgb());
        const QRect overlap = shown.rect().intersected(QRect(QPoint(0, 0), drawn));
        ASSERT_GE(overlap.width() * overlap.height(), drawn.width() * drawn.height() * 9 / 10);
        if (scale == 1 || scale == 2) {
            const QImage expected = scale == 2 ? bitmap("_2x") : single;
            int differing = 0;
            for (int y = 0; y < overlap.height(); ++y)
                for (int x = 0; x < overlap.width(); ++x)
                    differing += shown.pixel(x, y) != expected.pixel(x, y);
            EXPECT_EQ(differing, 0) << picture.toStdString() << " at scale " << scale;
        } else {
            auto near = [&](const QImage& image) {
                const QImage resized = image.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                return MeanDifference(shown.copy(overlap), resized.copy(overlap));
            };
            const double fromDoubled = near(bitmap("_2x")), fromSingle = near(single);
            EXPECT_LT(fromDoubled, fromSingle / 2)
                << picture.toStdString() << " at scale " << scale << ": from the larger bitmap "
                << fromDoubled << ", from the smaller " << fromSingle;
        }
    }
}

}  // namespace
}  // namespace quorvel
