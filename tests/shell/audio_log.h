// An audio device that logs what the game asks of it, for the shell's tests.
//
//   AudioLog audio;                      // becomes audio::device (made after CreateApp)
//   game->LoadSFX(98);                   // loading is real: files decode into OpenAL buffers
//   game->PlaySFX(98, 1, 0.5f, 0);
//   audio.calls;                         // {"stop", 1}, {"rate", 1, 1}, {"volume", 1, 0.5}, ...
//   audio.Of("play");                    // the calls of one kind, in order
//   audio.Of("play")[0].path;            // a play names the file it plays
//
// Playing, stopping and every setting are only logged, never passed on, so a
// test sees exactly the game's calls (the device's own calls between its
// methods do not appear). Loads go to the real device and are logged too.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "audio/gxtk_audio.h"

struct AudioCall {
    std::string what;  // load, play, stop, rate, volume, pan, music, stopMusic, pauseMusic, resumeMusic, musicVolume
    int channel = -1;
    float value = 0;        // rate, volume, pan, music volume; the flags of a play
    String path;            // load and music; for a play, the file its sample was loaded from
    const gxtkSample* sample = nullptr;  // load and play
    std::shared_ptr<gxtkSample> kept;    // the same, held so that no two samples share an address
};

class AudioLog : public gxtkAudio {
public:
    AudioLog() { audio::SetAudioDevice(this); }
    ~AudioLog() override {
        if (audio::device == this) audio::SetAudioDevice(nullptr);
    }

    std::shared_ptr<gxtkSample> LoadSample(const String& path) override {
        std::shared_ptr<gxtkSample> sample = gxtkAudio::LoadSample(path);
        Add("load", -1, 0, path, sample);
        if (sample) loads.push_back(calls.back());
        return sample;
    }
    int PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) override {
        Add("play", channel, static_cast<float>(flags), LoadedFrom(sample.get()), sample);
        return 0;
    }
    void StopChannel(int channel) override { Add("stop", channel); }
    void SetVolume(int channel, float volume) override { Add("volume", channel, volume); }
    void SetPan(int channel, float pan) override { Add("pan", channel, pan); }
    void SetRate(int channel, float rate) override { Add("rate", channel, rate); }
    int PlayMusic(const String& path, int flags) override {
        Add("music", kMusicChannel, static_cast<float>(flags), path);
        return 0;
    }
    void StopMusic() override { Add("stopMusic", kMusicChannel); }
    void PauseMusic() override { Add("pauseMusic", kMusicChannel); }
    void ResumeMusic() override { Add("resumeMusic", kMusicChannel); }
    void SetMusicVolume(float volume) override { Add("musicVolume", kMusicChannel, volume); }

    std::vector<AudioCall> Of(const std::string& what) const {
        std::vector<AudioCall> found;
        for (const AudioCall& call : calls) {
            if (call.what == what) found.push_back(call);
        }
        return found;
    }

    std::vector<AudioCall> calls;

private:
    std::vector<AudioCall> loads;  // every sample loaded, whatever a test clears

    String LoadedFrom(const gxtkSample* sample) const {
        for (const AudioCall& load : loads) {
            if (load.sample == sample) return load.path;
        }
        return {};
    }
    void Add(const char* what, int channel, float value = 0, const String& path = {},
             std::shared_ptr<gxtkSample> sample = nullptr) {
        calls.push_back(AudioCall{what, channel, value, path, sample.get(), sample});
    }
};
