// The process's audio output device, shared by every sound player. It is opened
// by the first player that loads a sound and closed when the last one lets go.
#pragma once

// Opens the device on first use and counts the holder. False when the machine has
// no audio output: callers then stay silent. The failure is logged once.
bool ofSoundDeviceAcquire();
void ofSoundDeviceRelease(); // the last release closes the device
bool ofSoundDeviceCanSpatializeStereo();
