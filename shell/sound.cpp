// Sound effects and tunes.
//
//   LoadSFX(4);                     // sounds[4] = sfx/004.wav (null if missing)
//   PlaySFX(4, 1.2f, 1, 0);         // rate, volume, pan; on the next of 24 effect channels
//   PlayTune(u"clustered", 1);      // sfx/clustered.ogg on the music channel, looping
//   StopTune();
//
// The player's settings decide what is heard: settings[5] the audio mode
// (1 effects and music, 2 effects only, 3 music only, else nothing),
// settings[6] the effect volume step and settings[7] the music volume step.
// OnUpdate pauses the tune while the game is paused.
#include "audio/audio.h"
#include "shell/myapp.h"

namespace {

constexpr int kAudioMode = 5, kEffectVolume = 6, kMusicVolume = 7;
constexpr int kEffectsOff = 3;  // effect volume step that silences effects

bool EffectsOn(int audioMode) { return audioMode == 1 || audioMode == 2; }
bool MusicOn(int audioMode) { return audioMode == 1 || audioMode == 3; }

float EffectGain(int step) {
    switch (step) {
    case 1: return 0.75f;
    case 2: return 0.4f;
    default: return 1.0f;
    }
}

// The music gain of a volume step; false for a step that keeps the volume.
bool MusicGain(int step, float* gain) {
    constexpr float kGains[] = {1.0f, 0.7f, 0.4f, 0.0f};
    if (step < 0 || step > 3) return false;
    *gain = kGains[step];
    return true;
}

}  // namespace

void MyApp::LoadSFX(int id) {
    if (id < 0 || id >= kSoundBanks) return;
    sounds[id] = nullptr;
    // Effect ids are written with three digits: 7 is "sfx/007.wav".
    char16_t digits[] = {static_cast<char16_t>(u'0' + id / 100), static_cast<char16_t>(u'0' + id / 10 % 10),
                         static_cast<char16_t>(u'0' + id % 10)};
    String path = u"sfx/";
    path.append(digits, 3);
    path += u".wav";
    sounds[id] = audio::LoadSound(path);
}

void MyApp::PlaySFX(int id, float rate, float volume, float pan) {
    if (!EffectsOn(settings[kAudioMode]) || id < 0 || id >= kSoundBanks || !sounds[id]) return;
    if (settings[kEffectVolume] == kEffectsOff) return;
    float gain = EffectGain(settings[kEffectVolume]);
    // Effects take the channels in turn, so the 25th in a row cuts off the first.
    sfxSlot = (sfxSlot + 1) % kEffectChannels;
    int channel = channelMap[sfxSlot];
    audio::StopChannel(channel);
    // The settings stay on the channel's source; set before the start, the
    // sound is never mixed, even briefly, with the previous effect's rate or gain.
    audio::SetChannelRate(channel, rate);
    audio::SetChannelVolume(channel, gain * volume);
    audio::SetChannelPan(channel, pan);
    audio::PlaySound(sounds[id], channel, 0);
}

void MyApp::PlayTune(std::u16string_view name, int flags) {
    String path = u"sfx/";
    path += name;
    path += u".ogg";
    if (musicOn == 1) {
        audio::StopMusic();
        musicOn = 0;
    }
    if (!MusicOn(settings[kAudioMode])) return;
    // The volume goes first, so that music turned off never sounds at the old
    // volume before the new one arrives.
    float gain = 0;
    if (MusicGain(settings[kMusicVolume], &gain)) audio::SetMusicVolume(gain);
    audio::PlayMusic(path, flags);
    musicOn = 1;
}

void MyApp::StopTune() {
    audio::StopMusic();
    musicOn = 0;
}
