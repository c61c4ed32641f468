// Placeholder audio module until the audio work lands.
#pragma once

#include "audio/gxtk_audio.h"

namespace audio {

extern gxtkAudio* device;

void InitModule();
void SetAudioDevice(gxtkAudio* newDevice);

}  // namespace audio
