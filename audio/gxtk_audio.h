// The audio device: OpenAL playback on 33 numbered channels.
//
//   gxtkAudio* audio = new gxtkAudio();     // opens OpenAL, prints "opening openal device"
//   std::shared_ptr<gxtkSample> boom = audio->LoadSample(u"tarvik://data/sfx/004.wav");
//   audio->PlaySample(boom, 3, 0);          // channel 3, once (flags != 0 loops); -1 if no source
//   audio->SetRate(3, 1.2f);  audio->SetVolume(3, 0.5f);  audio->SetPan(3, 0.3f);
//   audio->ChannelState(3);                 // 0 stopped, 1 playing, 2 paused
//   audio->PlayMusic(u"tarvik://data/sfx/fish.ogg", 1);   // channel 32, looping
//   boom->Discard();                        // its buffer goes once no source holds it
//
// Channels 0 ... 31 carry effects, 32 the music. A sound is one OpenAL buffer
// holding the whole decoded file; playing it only points a source at that
// buffer, so nothing is decoded or allocated while the game runs. Each channel
// makes its source when first used; when OpenAL has none left, it takes the
// source of the lowest-numbered stopped effect channel (never the music's).
// Without an OpenAL device everything fails quietly and playing returns -1.
//
// A channel notices that a one-shot sound has ended only when asked
// (ChannelState, PauseChannel, the search for a free source): OpenAL mixes on
// its own thread and the device merely polls source states.
#pragma once

#include <AL/alc.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "host/qvstring.h"

// One decoded sound: an OpenAL buffer name (0 once discarded).
class gxtkSample {
public:
    gxtkSample() = default;
    explicit gxtkSample(uint32_t buffer);
    virtual ~gxtkSample();
    gxtkSample(const gxtkSample&) = delete;
    gxtkSample& operator=(const gxtkSample&) = delete;

    void SetBuffer(uint32_t newBuffer);
    // Hands the buffer to the device's discarded list; it is deleted at a later
    // load or play, once no source holds it.
    virtual void Discard();

    uint32_t buffer = 0;

private:
    void QueueBufferForDeletion();

    // The device generation the buffer was made in: a buffer of a device that
    // has since been replaced or closed must not be deleted in another context,
    // where the same name may belong to a live buffer.
    uint32_t generation = 0;
};

// One playback slot of the device.
struct gxtkChannel {
    uint32_t source = 0;                  // OpenAL source, 0 until made or taken
    std::shared_ptr<gxtkSample> sample;   // kept alive while it plays here
    int32_t flags = 0;                    // of the last play: non-zero loops
    int32_t state = 0;                    // 0 stopped, 1 playing, 2 paused

    // The channel's source, made or taken from a stopped effect channel of the
    // current device; 0 when none can be had.
    uint32_t AL_Source();
};

class gxtkAudio {
public:
    static constexpr int kChannelCount = 33;
    static constexpr int kMusicChannel = 32;

    static gxtkAudio* audio;                 // the one device (the last constructed)
    static std::vector<uint32_t> discarded;  // buffer names waiting to be deleted
    static uint32_t generation;              // bumped whenever a device opens or closes

    gxtkAudio();
    // Not part of the game's run (the device lives to the end), but lets tests
    // and tools open and close devices cleanly.
    virtual ~gxtkAudio();
    gxtkAudio(const gxtkAudio&) = delete;
    gxtkAudio& operator=(const gxtkAudio&) = delete;

    // Pause what is playing while the game is suspended; Resume restarts
    // exactly those, leaving channels the game itself paused alone.
    virtual void Suspend();
    virtual void Resume();

    // Null when the file cannot be decoded. The path is used unchanged.
    virtual std::shared_ptr<gxtkSample> LoadSample(const String& path);
    virtual bool LoadSample__UNSAFE__(gxtkSample& sample, const String& path);

    // 0, or -1 when no source can be had (the channel is left as it was).
    virtual int PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags);
    virtual void StopChannel(int channel);
    virtual void PauseChannel(int channel);
    virtual void ResumeChannel(int channel);
    virtual int ChannelState(int channel);
    // Settings stay on the channel's source for later plays.
    virtual void SetVolume(int channel, float volume);
    virtual void SetPan(int channel, float pan);  // radians: 0 ahead, pi/2 right
    virtual void SetRate(int channel, float rate);

    // 0, or -1 when the file cannot be decoded or played (the old music is
    // stopped either way).
    virtual int PlayMusic(const String& path, int flags);
    virtual void StopMusic();
    virtual void PauseMusic();
    virtual void ResumeMusic();
    virtual int MusicState();
    virtual void SetMusicVolume(float volume);

    ALCdevice* device = nullptr;    // null when no OpenAL device could be opened
    ALCcontext* context = nullptr;
    gxtkChannel channels[kChannelCount];

private:
    // The channel, or null for a number outside 0 ... 32.
    gxtkChannel* Channel(int channel);
};

// Deletes the discarded buffers that no source holds any more; the others
// stay listed for the next try. Runs at the start of every load and play.
void FlushDiscarded();
