// Picture decoding: pixel order and types as FreeImage hands them over, and every
// way a file can be unusable (missing, not a picture, cut short, absurdly large).
// (Names below the data folder: every picture the window tests load.)
#include "gl_test_window.h"
#include "ofImage.h"

#include <FreeImage.h>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using kura_test::Rgba;

std::string tempPath(const char* name) {
    return testing::TempDir() + "kura_image_" + std::to_string(getpid()) + "_" + name;
}

Rgba corners(int x, int y) {
    if (x < 150 && y < 100) return {255, 0, 0, 255};  // top left red
    if (x >= 150 && y < 100) return {0, 255, 0, 128}; // top right half green
    if (x < 150) return {0, 0, 255, 0};               // bottom left clear blue
    return {10, 20, 30, 255};
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string bigEndian(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    return bigEndian(static_cast<uint32_t>(data.size())) + body + bigEndian(crc32(body));
}

// A well-formed PNG whose header claims a picture of w x h, with no pixel data.
std::string pngHeaderOnly(uint32_t w, uint32_t h) {
    return std::string("\x89PNG\r\n\x1a\n", 8) +
           chunk("IHDR", bigEndian(w) + bigEndian(h) + std::string("\x08\x06\0\0\0", 5)) +
           chunk("IDAT", "") + chunk("IEND", "");
}

std::string loadAndCaptureLog(ofImage& image, const std::string& path, bool& ok) {
    testing::internal::CaptureStdout();
    ok = image.loadImage(path);
    return testing::internal::GetCapturedStdout();
}

// Saves a FreeImage bitmap of bpp bits (pixels set by fill) as a PNG and loads it.
template <class Fill> void saveAndLoad(ofImage& image, const char* name, int bpp, Fill fill) {
    const std::string path = tempPath(name);
    FIBITMAP* dib = FreeImage_Allocate(4, 2, bpp);
    fill(dib);
    FreeImage_Save(FIF_PNG, dib, path.c_str());
    FreeImage_Unload(dib);
    ASSERT_TRUE(image.loadImage(path));
    std::remove(path.c_str());
}

// Top row first, RGBA order, and the type of each kind of picture; PNGs with
// alpha often arrive as palette pictures with a transparency table.
TEST(ImageDecode, PixelOrderAndTypeOfEachKindOfPicture) {
    const std::string path = tempPath("alpha.png");
    kura_test::writePng(path, 300, 200, corners);
    ofImage image;
    ASSERT_TRUE(image.loadImage(path));
    std::remove(path.c_str());
    EXPECT_EQ(image.getWidth(), 300);
    EXPECT_EQ(image.getHeight(), 200);
    EXPECT_EQ(image.getType(), OF_IMAGE_COLOR_ALPHA);
    auto at = [&](int x, int y) {
        const unsigned char* p = image.getPixels() + (y * image.getWidth() + x) * 4;
        return Rgba{p[0], p[1], p[2], p[3]};
    };
    for (int x : {0, 299})
        for (int y : {0, 199})
            EXPECT_EQ(at(x, y), corners(x, y)) << x << "," << y;

    saveAndLoad(image, "rgb.png", 24, [](FIBITMAP* dib) {
        BYTE* top = FreeImage_GetScanLine(dib, 1);
        top[FI_RGBA_RED] = 200, top[FI_RGBA_GREEN] = 100, top[FI_RGBA_BLUE] = 50;
    });
    EXPECT_EQ(image.getType(), OF_IMAGE_COLOR);
    EXPECT_EQ(image.getBytesPerPixel(), 3);
    EXPECT_EQ(std::vector<int>(image.getPixels(), image.getPixels() + 4),
              (std::vector<int>{200, 100, 50, 0}));

    saveAndLoad(image, "grey.png", 8, [](FIBITMAP* dib) { FreeImage_GetScanLine(dib, 1)[0] = 77; });
    EXPECT_EQ(image.getType(), OF_IMAGE_GRAYSCALE);
    EXPECT_EQ(std::vector<int>(image.getPixels(), image.getPixels() + 2),
              (std::vector<int>{77, 0}));

    saveAndLoad(image, "palette.png", 8, [](FIBITMAP* dib) {
        RGBQUAD* palette = FreeImage_GetPalette(dib);
        palette[1].rgbRed = 255, palette[1].rgbGreen = 255, palette[1].rgbBlue = 0;
        BYTE alpha[256];
        std::fill(alpha, alpha + 256, 255);
        alpha[0] = 0;
        FreeImage_SetTransparencyTable(dib, alpha, 256);
        FreeImage_GetScanLine(dib, 1)[1] = 1;
    });
    EXPECT_EQ(image.getType(), OF_IMAGE_COLOR_ALPHA);
    EXPECT_EQ(std::vector<int>(image.getPixels() + 3, image.getPixels() + 8),
              (std::vector<int>{0, 255, 255, 0, 255}));
}

// Missing, not a picture, cut short, or so large (100000 x 100000 RGBA would be
// 40 GB) that the header alone must be enough to refuse it: the image that held
// a picture is left empty.
TEST(ImageFailure, UnusableFilesAreRefusedWithAReport) {
    const std::string full = tempPath("full.png");
    kura_test::writePng(full, 300, 200, [](int x, int y) {
        return Rgba{uint8_t(x * 7), uint8_t(y * 13), uint8_t(x ^ y), 255};
    });
    const std::string whole = readFile(full);
    const struct {
        const char* name;
        std::string bytes; // none: the file is missing
        const char* report;
    } files[] = {
        {"missing.png", "", "OF_ERROR: ofImage: could not load image"},
        {"text.png", "this is not a picture\n", "OF_ERROR"},
        {"cut.png", whole.substr(0, whole.size() / 2), "OF_ERROR"},
        {"huge.png", pngHeaderOnly(100000, 100000), "is too large (100000 x 100000)"},
    };
    for (const auto& file : files) {
        const std::string path = tempPath(file.name);
        if (!file.bytes.empty()) writeFile(path, file.bytes);
        ofImage image;
        ASSERT_TRUE(image.loadImage(full));
        bool ok = true;
        const std::string log = loadAndCaptureLog(image, path, ok);
        EXPECT_FALSE(ok) << file.name;
        EXPECT_FALSE(image.isAllocated()) << file.name;
        EXPECT_EQ(image.getWidth(), 0) << file.name;
        EXPECT_NE(log.find(file.report), std::string::npos) << file.name << ": " << log;
        std::remove(path.c_str());
    }
    std::remove(full.c_str());
}

} // namespace
