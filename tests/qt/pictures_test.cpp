// The pictures the windows show, checked in the form they are stored: size and colour depth.
#include <QFile>

#include <gtest/gtest.h>

#include <cstdint>

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

TEST(Pictures, WindowsIconFileHoldsOneSixteenColourImageWithAMask) {
    QFile file(QUORVEL_ICO);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ico = file.readAll();
    ASSERT_GE(ico.size(), 22 + 40 + 64 + 512 + 128);
    auto word = [&ico](int at) { return std::uint8_t(ico[at]) | (std::uint8_t(ico[at + 1]) << 8); };
    EXPECT_EQ(word(2), 1);  // an icon
    EXPECT_EQ(word(4), 1);  // one image
    EXPECT_EQ(std::uint8_t(ico[6]), 32);
    EXPECT_EQ(std::uint8_t(ico[7]), 32);
    EXPECT_EQ(std::uint8_t(ico[8]), 16);  // colours
    EXPECT_EQ(word(12), 4);               // bits a pixel
    EXPECT_EQ(word(22 + 8), 64);          // colour rows and mask rows
}

}  // namespace
