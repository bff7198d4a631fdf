// Picture decoding through FreeImage. FreeImage keeps rows bottom-up in B,G,R(,A)
// order; they are turned into top-down R,G,B(,A) here so that callers see one layout.
// Every failure is logged and leaves the image empty.
#include "ofImage.h"

#include "ofLog.h"
#include "ofUtils.h"

#include <FreeImage.h>
#include <cstring>
#include <unistd.h>

namespace {

void logDecoderMessage(FREE_IMAGE_FORMAT, const char* message) {
    ofLog(OF_LOG_ERROR, "ofImage: %s", message);
}

FREE_IMAGE_FORMAT formatOf(const char* path) {
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path, 0);
    if (fif == FIF_UNKNOWN) fif = FreeImage_GetFIFFromFilename(path);
    return fif;
}

// Reads only the header where the format allows it, so that a picture of absurd
// size is refused before its pixels are allocated.
bool sizeIsAcceptable(FREE_IMAGE_FORMAT fif, const char* path) {
    if (!FreeImage_FIFSupportsNoPixels(fif)) return true;
    FIBITMAP* header = FreeImage_Load(fif, path, FIF_LOAD_NOPIXELS);
    if (header == nullptr) {
        ofLog(OF_LOG_ERROR, "ofImage: could not decode image %s", path);
        return false;
    }
    const long long w = FreeImage_GetWidth(header);
    const long long h = FreeImage_GetHeight(header);
    FreeImage_Unload(header);
    if (w <= ofImage::MAX_SIDE && h <= ofImage::MAX_SIDE && w * h <= ofImage::MAX_PIXELS)
        return true;
    ofLog(OF_LOG_ERROR, "ofImage: %s is too large (%lld x %lld)", path, w, h);
    return false;
}

bool isGrey(FIBITMAP* dib) {
    return FreeImage_GetImageType(dib) == FIT_BITMAP && FreeImage_GetBPP(dib) == 8 &&
           FreeImage_GetColorType(dib) == FIC_MINISBLACK;
}

// Converts to 8-bit grey, 24-bit or 32-bit form; the caller owns the result.
FIBITMAP* toStandardForm(FIBITMAP* dib, ofImageType& type) {
    if (isGrey(dib)) {
        type = OF_IMAGE_GRAYSCALE;
        return FreeImage_Clone(dib);
    }
    const FREE_IMAGE_TYPE t = FreeImage_GetImageType(dib);
    const bool alpha = FreeImage_IsTransparent(dib) || t == FIT_RGBA16 || t == FIT_RGBAF ||
                       (t == FIT_BITMAP && FreeImage_GetBPP(dib) == 32);
    type = alpha ? OF_IMAGE_COLOR_ALPHA : OF_IMAGE_COLOR;
    return alpha ? FreeImage_ConvertTo32Bits(dib) : FreeImage_ConvertTo24Bits(dib);
}

} // namespace

int ofImage::getBytesPerPixel() const {
    switch (m_type) {
    case OF_IMAGE_GRAYSCALE:
        return 1;
    case OF_IMAGE_COLOR:
        return 3;
    case OF_IMAGE_COLOR_ALPHA:
        return 4;
    }
    return 0;
}

void ofImage::clear() {
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_width = m_height = 0;
}

bool ofImage::loadImage(const std::string& fileName) {
    clear();
    static const bool hooked = [] {
        FreeImage_SetOutputMessage(logDecoderMessage);
        return true;
    }();
    (void)hooked;

    const std::string path = ofToDataPath(fileName);
    const FREE_IMAGE_FORMAT fif = formatOf(path.c_str());
    if (access(path.c_str(), R_OK) != 0 || fif == FIF_UNKNOWN ||
        !FreeImage_FIFSupportsReading(fif)) {
        ofLog(OF_LOG_ERROR, "ofImage: could not load image %s", path.c_str());
        return false;
    }
    if (!sizeIsAcceptable(fif, path.c_str())) return false;
    FIBITMAP* decoded = FreeImage_Load(fif, path.c_str(), 0);
    if (decoded == nullptr) {
        ofLog(OF_LOG_ERROR, "ofImage: could not decode image %s", path.c_str());
        return false;
    }
    ofImageType type = OF_IMAGE_COLOR;
    FIBITMAP* dib = toStandardForm(decoded, type);
    FreeImage_Unload(decoded);
    if (dib == nullptr) {
        ofLog(OF_LOG_ERROR, "ofImage: unsupported pixel format in %s", path.c_str());
        return false;
    }

    m_type = type;
    m_width = static_cast<int>(FreeImage_GetWidth(dib));
    m_height = static_cast<int>(FreeImage_GetHeight(dib));
    const int bpp = getBytesPerPixel();
    m_pixels.resize(static_cast<size_t>(m_width) * m_height * bpp);
    for (int y = 0; y < m_height; ++y) {
        const BYTE* src = FreeImage_GetScanLine(dib, m_height - 1 - y);
        unsigned char* dst = &m_pixels[static_cast<size_t>(y) * m_width * bpp];
        if (bpp == 1) {
            std::memcpy(dst, src, static_cast<size_t>(m_width));
            continue;
        }
        for (int x = 0; x < m_width; ++x, src += bpp, dst += bpp) {
            dst[0] = src[FI_RGBA_RED];
            dst[1] = src[FI_RGBA_GREEN];
            dst[2] = src[FI_RGBA_BLUE];
            if (bpp == 4) dst[3] = src[FI_RGBA_ALPHA];
        }
    }
    FreeImage_Unload(dib);
    return true;
}
