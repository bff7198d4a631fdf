// The texture table. Pictures are decoded by the runtime's image and uploaded into
// a power-of-two texture once per load. A negative slot number is reported and
// never used as an index.
#include "of/TextureManager.h"

#include "ofImage.h"
#include "ofTexture.h"
#include "util/_Template.h"

#include <GL/gl.h>

namespace Kura {

template <> struct ArrayElementName<TEX_DATA> {
    static std::string Get() { return "struct TEX_DATA"; }
};

namespace {

constexpr const char* SOURCE = "src\\of\\TextureManager";
TextureManager* g_pInstance = nullptr;

int glFormatOf(const ofImage& image) {
    switch (image.getType()) {
    case OF_IMAGE_GRAYSCALE:
        return GL_LUMINANCE;
    case OF_IMAGE_COLOR:
        return GL_RGB;
    case OF_IMAGE_COLOR_ALPHA:
        return GL_RGBA;
    }
    return GL_RGB;
}

bool isSlot(int32_t texIdx) {
    return texIdx >= 0 && texIdx < TextureManager::MAX_TEXTURE_NUM;
}

} // namespace

TEX_DATA::TEX_DATA() = default;
TEX_DATA::~TEX_DATA() = default;

struct TextureManager::Impl {
    Array<TEX_DATA> slots{MAX_TEXTURE_NUM};

    // The getters' slot rule: numbers past the table read slot 0; negative
    // numbers are a caller's mistake, reported, and read nothing.
    const TEX_DATA* slotForGetter(int32_t texIdx, const char* function) const {
        if (!KURA_CHECK(texIdx >= 0, "texIdx>=0 && texIdx<MAX_TEXTURE_NUM", SOURCE, function,
                        __LINE__))
            return nullptr;
        return &slots[texIdx < MAX_TEXTURE_NUM ? texIdx : 0];
    }
};

TextureManager::TextureManager() : m_pImpl(std::make_unique<Impl>()) {}

TextureManager::~TextureManager() {
    for (int32_t i = 0; i < MAX_TEXTURE_NUM; ++i)
        Release(i);
}

void TextureManager::Create() {
    if (g_pInstance == nullptr) g_pInstance = new TextureManager;
}

void TextureManager::Destroy() {
    delete g_pInstance;
    g_pInstance = nullptr;
}

TextureManager* TextureManager::Get() {
    KURA_CHECK(g_pInstance, "g_pInstance", SOURCE, "Kura::TextureManager::Get", __LINE__);
    return g_pInstance;
}

bool TextureManager::LoadTexture(const std::string& filePath, int32_t texIdx) {
    if (!isSlot(texIdx)) {
        KURA_CHECK(false, "0", SOURCE, "Kura::TextureManager::LoadTexture", 87);
        return false;
    }
    TEX_DATA& slot = m_pImpl->slots[texIdx];
    if (slot.image || slot.texture) Release(texIdx);

    ofImage image;
    auto texture = std::make_unique<ofTexture>();
    const bool decoded = image.loadImage(filePath);
    const int glFormat = decoded ? glFormatOf(image) : 0;
    const int internalFormat = glFormat == GL_RGBA ? GL_RGBA : GL_RGB;
    if (!decoded || !texture->allocate(image.getWidth(), image.getHeight(), internalFormat)) {
        slot.width = slot.height = 0;
        slot.filePath.clear();
        return false;
    }
    texture->loadData(image.getPixels(), image.getWidth(), image.getHeight(), glFormat);
    slot.texture = std::move(texture);
    slot.filePath = filePath;
    slot.width = image.getWidth();
    slot.height = image.getHeight();
    return true;
}

void TextureManager::Release(int32_t texIdx) {
    if (!KURA_CHECK(isSlot(texIdx), "texIdx>=0 && texIdx<MAX_TEXTURE_NUM", SOURCE,
                    "Kura::TextureManager::Release", 228))
        return;
    TEX_DATA& slot = m_pImpl->slots[texIdx];
    if (slot.texture) slot.texture->clear();
    slot.texture.reset();
    slot.image.reset();
}

const std::string& TextureManager::GetFilePath(int32_t texIdx) const {
    static const std::string none;
    if (!KURA_CHECK(isSlot(texIdx), "texIdx>=0 && texIdx<MAX_TEXTURE_NUM", SOURCE,
                    "Kura::TextureManager::GetFilePath", __LINE__))
        return none;
    return m_pImpl->slots[texIdx].filePath;
}

ofTexture* TextureManager::GetTexture(int32_t texIdx) const {
    const TEX_DATA* slot = m_pImpl->slotForGetter(texIdx, "Kura::TextureManager::GetTexture");
    return slot != nullptr ? slot->texture.get() : nullptr;
}

// The decoded picture is not kept after its upload (a full-screen picture
// alone is megabytes the game never reads again): it is decoded anew for
// whoever asks, and kept until the slot is released.
ofImage* TextureManager::GetImage(int32_t texIdx) const {
    const TEX_DATA* found = m_pImpl->slotForGetter(texIdx, "Kura::TextureManager::GetImage");
    if (found == nullptr || !found->texture) return nullptr;
    TEX_DATA& slot = m_pImpl->slots[texIdx < MAX_TEXTURE_NUM ? texIdx : 0];
    if (!slot.image) {
        auto image = std::make_unique<ofImage>();
        if (!image->loadImage(slot.filePath)) return nullptr;
        slot.image = std::move(image);
    }
    return slot.image.get();
}

int32_t TextureManager::GetWidth(int32_t texIdx) const {
    const TEX_DATA* slot = m_pImpl->slotForGetter(texIdx, "Kura::TextureManager::GetWidth");
    return slot != nullptr ? slot->width : 0;
}

int32_t TextureManager::GetHeight(int32_t texIdx) const {
    const TEX_DATA* slot = m_pImpl->slotForGetter(texIdx, "Kura::TextureManager::GetHeight");
    return slot != nullptr ? slot->height : 0;
}

} // namespace Kura
