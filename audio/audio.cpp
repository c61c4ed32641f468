#include "audio/audio.h"

#include "host/data.h"

namespace audio {

gxtkAudio* device = nullptr;

void InitModule() { device = nullptr; }
void SetAudioDevice(gxtkAudio* newDevice) { device = newDevice; }

std::shared_ptr<Sound> LoadSound(const String& path) {
    if (!device) return nullptr;
    std::shared_ptr<gxtkSample> sample = device->LoadSample(data::FixDataPath(path));
    if (!sample) return nullptr;
    return std::make_shared<Sound>(std::move(sample));
}

void PlaySound(const std::shared_ptr<Sound>& sound, int channel, int flags) {
    if (!device || !sound || !sound->sample) return;
    device->PlaySample(sound->sample, channel, flags);
}

void StopChannel(int channel) {
    if (device) device->StopChannel(channel);
}

void SetChannelVolume(int channel, float volume) {
    if (device) device->SetVolume(channel, volume);
}

void SetChannelPan(int channel, float pan) {
    if (device) device->SetPan(channel, pan);
}

void SetChannelRate(int channel, float rate) {
    if (device) device->SetRate(channel, rate);
}

int PlayMusic(const String& path, int flags) {
    if (!device) return -1;
    return device->PlayMusic(data::FixDataPath(path), flags);
}

void StopMusic() {
    if (device) device->StopMusic();
}

void PauseMusic() {
    if (device) device->PauseMusic();
}

void ResumeMusic() {
    if (device) device->ResumeMusic();
}

void SetMusicVolume(float volume) {
    if (device) device->SetMusicVolume(volume);
}

}  // namespace audio
