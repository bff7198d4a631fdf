// Picture windows: loading into the slot the settings give, and drawing part of
// that picture into the window's rectangle. A picture that cannot be loaded is
// reported and leaves the window empty.
#include "of/Window.h"

#include "of/Draw2D.h"
#include "of/TextureManager.h"
#include "of/WindowSettings.h"
#include "util/AssertReport.h"
#include "util/ConvString.h"

namespace Kura {

namespace {

constexpr const char* SOURCE_NAME = "src\\of\\Window";

// The texture table answers slot 0 for numbers past its end; a window whose
// settings put it there has no picture of its own and must not show another's.
bool IsTableSlot(int32_t slot) {
    return slot >= 0 && slot < TextureManager::MAX_TEXTURE_NUM;
}

} // namespace

int32_t ImageWindow::GetTextureIndex() const {
    const WindowSettings* settings = Settings("Kura::ImageWindow::GetTextureIndex", __LINE__);
    if (settings == nullptr) return m_Id;
    return settings->GetImageWindowBaseIndex() + m_Id;
}

int32_t CharacterWindow::GetTextureIndex() const {
    const WindowSettings* settings = Settings("Kura::CharacterWindow::GetTextureIndex", __LINE__);
    if (settings == nullptr) return m_FaceIndex;
    return settings->GetCharacterWindowBaseIndex() +
           m_CharaIndex * settings->GetCharacterHaveIndexNum() + m_FaceIndex;
}

// The window takes the picture's size; a later SetSize or SetRect scales it.
void ImageWindow::Load(const std::string& path) {
    TextureManager* textures = TextureManager::Get();
    if (textures == nullptr) return;
    const int32_t slot = GetTextureIndex();
    const bool loaded = textures->LoadTexture(path, slot);
    if (!loaded)
        ReportAssertion(false, SOURCE_NAME, __LINE__, "Kura::ImageWindow::Load",
                        (L"picture not loaded: " + ConvString::AnsiToWide(path)).c_str());
    const int32_t width = loaded ? textures->GetWidth(slot) : 0;
    const int32_t height = loaded ? textures->GetHeight(slot) : 0;
    SetSize(width, height);
    m_ImageRect = {0, 0, width, height};
}

void ImageWindow::Load(const std::string& folder, const std::string& file) {
    const WindowSettings* settings = Settings("Kura::ImageWindow::Load", __LINE__);
    if (settings == nullptr) return;
    Load(settings->GetDataPath(folder, file));
}

bool ImageWindow::IsLoaded() const {
    const TextureManager* textures = TextureManager::Get();
    const int32_t slot = GetTextureIndex();
    return textures != nullptr && IsTableSlot(slot) && textures->GetTexture(slot) != nullptr;
}

void ImageWindow::SetImageRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    m_ImageRect = {x, y, w, h};
}

// Flips mirror the picture inside the rectangle; the rectangle stays in place.
void ImageWindow::Draw() {
    if (!m_Visible || !IsLoaded()) return;
    ofTexture* texture = TextureManager::Get()->GetTexture(GetTextureIndex());
    Draw2D draw;
    draw.SetTexture(texture, true);
    draw.SetColor(255, 255, 255, 255);
    draw.DrawTexture(m_Rect.x, m_Rect.y, m_Rect.w, m_Rect.h, m_ImageRect.x, m_ImageRect.y,
                     m_ImageRect.w, m_ImageRect.h, m_FlipX, m_FlipY);
    draw.EndTexture();
}

void CharacterWindow::ResetImageRect() {
    const TextureManager* textures = TextureManager::Get();
    if (textures == nullptr) return;
    const int32_t slot = GetTextureIndex();
    if (!IsTableSlot(slot)) {
        m_ImageRect = {};
        return;
    }
    m_ImageRect = {0, 0, textures->GetWidth(slot), textures->GetHeight(slot)};
}

} // namespace Kura
