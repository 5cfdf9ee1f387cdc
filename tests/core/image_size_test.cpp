#include "core/formats/image_size.h"
#include "core/util/file_io.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <random>

namespace karvex {
namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

std::string Png(unsigned width, unsigned height)
{
    std::string bytes = Bytes({ 137, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13 }) + "IHDR";
    for (unsigned value : { width, height }) {
        for (int shift : { 24, 16, 8, 0 })
            bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
    return bytes + Bytes({ 8, 2, 0, 0, 0 });
}

std::string Gif(int width, int height)
{
    return "GIF89a" + Bytes({ width & 0xFF, width >> 8, height & 0xFF, height >> 8, 0, 0, 0 });
}

// A JPEG start, an APP0 segment, then a frame header with the given marker.
std::string Jpeg(int frameMarker, int width, int height)
{
    std::string bytes = Bytes({ 0xFF, 0xD8, 0xFF, 0xE0, 0, 16 }) + "JFIF" + std::string(10, '\0');
    bytes += Bytes(
        { 0xFF, frameMarker, 0, 17, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 3 });
    return bytes + std::string(12, '\1');
}

TEST(ProbeImageSize, KnownFormats)
{
    const ImageSize png = ProbeImageSize(Png(300, 200));
    EXPECT_EQ(png.Width, 300);
    EXPECT_EQ(png.Height, 200);

    const ImageSize gif = ProbeImageSize(Gif(640, 480));
    EXPECT_EQ(gif.Width, 640);
    EXPECT_EQ(gif.Height, 480);

    for (int marker : { 0xC0, 0xC1, 0xC2, 0xC3 }) {
        const ImageSize jpeg = ProbeImageSize(Jpeg(marker, 1024, 768));
        EXPECT_EQ(jpeg.Width, 1024) << marker;
        EXPECT_EQ(jpeg.Height, 768) << marker;
    }
}

TEST(ProbeImageSize, OnlySixteenBitFieldsAreRead)
{
    // 70000 = 0x11170: only the low half (0x1170 = 4464) is read.
    EXPECT_EQ(ProbeImageSize(Png(70000, 200)).Width, 4464);
    EXPECT_EQ(ProbeImageSize(Png(40000, 50000)).Height, 50000);
}

TEST(ProbeImageSize, UnrecognisedOrBrokenGivesZero)
{
    const std::string bmp = "BM" + std::string(60, '\x10');
    const std::string cases[] = {
        bmp,
        "",
        "GIF",
        Png(300, 200).substr(0, 19), // cut inside the width
        Bytes({ 0xFF, 0xD8, 0xFF }),
        Jpeg(0xC5, 100, 100), // a frame type the probe does not read
        Jpeg(0xCF, 100, 100),
        Jpeg(0xC0, 100, 100).substr(0, 26), // cut inside the frame header
        Bytes({ 0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xFF }),
    };
    for (const auto& bytes : cases) {
        const ImageSize size = ProbeImageSize(bytes);
        EXPECT_EQ(size.Width, 0) << bytes.size();
        EXPECT_EQ(size.Height, 0) << bytes.size();
    }
}

TEST(ProbeImageSize, EarlierFrameWinsOverLaterUnknownOne)
{
    const std::string bytes = Jpeg(0xC2, 10, 20) + Bytes({ 0xFF, 0xC5, 0, 17, 8, 0, 99, 0, 99 });
    EXPECT_EQ(ProbeImageSize(bytes).Width, 10);
    // A segment length of zero still moves the walk on instead of looping.
    EXPECT_EQ(
        ProbeImageSize(Bytes({ 0xFF, 0xD8, 0xFF, 0xE1, 0, 0, 0xFF, 0xC0, 0, 17, 8, 0, 5, 0, 7, 3 }))
            .Width,
        7);
}

TEST(ProbeImageSize, SurvivesRandomBytes)
{
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 64, '\0');
        for (auto& b : bytes)
            b = static_cast<char>(random() % 4 == 0 ? 0xFF : random());
        if (round % 2 == 0 && bytes.size() >= 3)
            bytes.replace(0, 3, Bytes({ 0xFF, 0xD8, 0xFF }));
        const ImageSize size = ProbeImageSize(bytes);
        EXPECT_GE(size.Width, 0);
        EXPECT_LE(size.Width, 65535);
    }
}

TEST(GetImageSize, PacksWidthLowAndHeightHigh)
{
    test::TempDir dir;
    const std::string path = dir.File("pic.gif");
    ASSERT_TRUE(WriteWholeFile(path, Gif(300, 200)));
    const std::int64_t packed = GetImageSize(path);
    EXPECT_EQ(packed, 300 + (std::int64_t { 200 } << 32));
    EXPECT_EQ(UnpackImageSize(packed).Height, 200);
    EXPECT_EQ(GetImageSize(dir.File("missing.png")), 0);
}

} // namespace
} // namespace karvex
