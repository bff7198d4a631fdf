// Every picture of the game, in a fixed table of numbered slots. Callers choose the
// slot numbers; a slot holds its texture until released, and the decoded image
// only once someone asks for it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class ofImage;
class ofTexture;

namespace Kura {

struct TEX_DATA {
    int32_t width = 0; // of the loaded image; 0 when never loaded or the load failed
    int32_t height = 0;
    std::unique_ptr<ofImage> image;     // decoded again on demand after the upload
    std::unique_ptr<ofTexture> texture; // present means loaded
    std::string filePath;               // the path last loaded successfully
    TEX_DATA();
    ~TEX_DATA();
};

class TextureManager {
public:
    static constexpr int32_t MAX_TEXTURE_NUM = 1024;

    static void Create();
    static void Destroy(); // releases every slot
    static TextureManager* Get();

    bool LoadTexture(const std::string& filePath, int32_t texIdx); // replaces what the slot held
    void Release(int32_t texIdx); // frees texture and image; size and path stay

    // The getters read slot 0 for any number at or above MAX_TEXTURE_NUM.
    const std::string& GetFilePath(int32_t texIdx) const;
    ofTexture* GetTexture(int32_t texIdx) const;
    ofImage* GetImage(int32_t texIdx) const;
    int32_t GetWidth(int32_t texIdx) const;
    int32_t GetHeight(int32_t texIdx) const;

private:
    TextureManager();
    ~TextureManager();
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace Kura
