// The audio module: the game's view of the audio device.
//
//   audio::SetAudioDevice(new gxtkAudio());              // once, by the host
//   std::shared_ptr<Sound> zap = audio::LoadSound(u"sfx/004.wav");  // null if missing
//   audio::PlaySound(zap, 3, 0);                          // channel 3, once
//   audio::SetChannelRate(3, 1.2f);  audio::SetChannelVolume(3, 0.5f);
//   audio::PlayMusic(u"sfx/fish.ogg", 1);                 // looping on channel 32
//   audio::SetMusicVolume(0.7f);
//
// Resource names map to files through data::FixDataPath. Every call is a quiet
// no-op (or null / -1) before a device is set.
#pragma once

#include <memory>

#include "audio/gxtk_audio.h"
#include "host/qvstring.h"

// A loaded sound; the sample is shared with the channel playing it.
class Sound {
public:
    Sound() = default;
    explicit Sound(std::shared_ptr<gxtkSample> loaded) : sample(std::move(loaded)) {}

    std::shared_ptr<gxtkSample> sample;
};

namespace audio {

extern gxtkAudio* device;

void InitModule();  // forgets the device (start-up state)
void SetAudioDevice(gxtkAudio* newDevice);

std::shared_ptr<Sound> LoadSound(const String& path);
void PlaySound(const std::shared_ptr<Sound>& sound, int channel, int flags);
void StopChannel(int channel);
void SetChannelVolume(int channel, float volume);
void SetChannelPan(int channel, float pan);
void SetChannelRate(int channel, float rate);

int PlayMusic(const String& path, int flags);
void StopMusic();
void PauseMusic();
void ResumeMusic();
void SetMusicVolume(float volume);

}  // namespace audio
