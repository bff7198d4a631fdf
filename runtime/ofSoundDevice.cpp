// OpenAL device and context. Closing the device matters beyond tidiness: file-
// writing output back ends complete their file only then. Once opening failed it
// is not tried again: each try costs time and prints the driver's own complaints.
#include "ofSoundDevice.h"

#include "ofLog.h"

#include <AL/al.h>
#include <AL/alc.h>

namespace {

ALCdevice* g_pDevice = nullptr;
ALCcontext* g_pContext = nullptr;
int g_holders = 0;
bool g_unavailable = false;

bool open() {
    g_pDevice = alcOpenDevice(nullptr);
    if (g_pDevice != nullptr) {
        g_pContext = alcCreateContext(g_pDevice, nullptr);
        if (g_pContext != nullptr && alcMakeContextCurrent(g_pContext)) return true;
        if (g_pContext != nullptr) alcDestroyContext(g_pContext);
        alcCloseDevice(g_pDevice);
    }
    g_pDevice = nullptr;
    g_pContext = nullptr;
    g_unavailable = true;
    ofLog(OF_LOG_WARNING, "ofSoundPlayer: no audio output device, sound is off");
    return false;
}

} // namespace

bool ofSoundDeviceAcquire() {
    if (g_unavailable) return false;
    if (g_holders == 0 && !open()) return false;
    ++g_holders;
    return true;
}

void ofSoundDeviceRelease() {
    if (g_holders == 0 || --g_holders > 0) return;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(g_pContext);
    alcCloseDevice(g_pDevice);
    g_pContext = nullptr;
    g_pDevice = nullptr;
}

bool ofSoundDeviceCanSpatializeStereo() {
    return g_holders > 0 && alIsExtensionPresent("AL_SOFT_source_spatialize");
}
