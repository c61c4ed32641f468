#include "audio/audio.h"

namespace audio {

gxtkAudio* device = nullptr;

void InitModule() { device = nullptr; }
void SetAudioDevice(gxtkAudio* newDevice) { device = newDevice; }

}  // namespace audio
