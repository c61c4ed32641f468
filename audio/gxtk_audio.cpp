#include "audio/gxtk_audio.h"

#include <AL/al.h>

#include <climits>
#include <cmath>
#include <cstdlib>

#include "host/qv.h"
#include "host/qvgame.h"

gxtkAudio* gxtkAudio::audio = nullptr;
std::vector<uint32_t> gxtkAudio::discarded;
uint32_t gxtkAudio::generation = 0;

namespace {

// Room for this many pending buffers is made up front, so that a sample
// released while a sound starts does not allocate on the way.
constexpr size_t kDiscardedReserve = 64;

// AL_STOPPED when OpenAL cannot say (no context, no source): a channel whose
// source is gone has nothing playing.
ALint SourceState(uint32_t source) {
    ALint state = AL_STOPPED;
    if (source != 0) alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

ALenum BufferFormat(int bytesPerSample, int channels) {
    if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;  // OpenAL refuses it; the sample stays silent
}

}  // namespace

// --- gxtkSample ---------------------------------------------------------------

gxtkSample::gxtkSample(uint32_t newBuffer) { SetBuffer(newBuffer); }

gxtkSample::~gxtkSample() { QueueBufferForDeletion(); }

void gxtkSample::SetBuffer(uint32_t newBuffer) {
    buffer = newBuffer;
    generation = gxtkAudio::generation;
}

void gxtkSample::Discard() { QueueBufferForDeletion(); }

void gxtkSample::QueueBufferForDeletion() {
    if (buffer == 0) return;
    // A buffer of a device that is gone went with its context.
    if (generation == gxtkAudio::generation) gxtkAudio::discarded.push_back(buffer);
    buffer = 0;
}

// --- gxtkChannel --------------------------------------------------------------

uint32_t gxtkChannel::AL_Source() {
    if (source != 0) return source;
    alGetError();
    ALuint made = 0;
    alGenSources(1, &made);
    if (alGetError() == AL_NO_ERROR && made != 0) return source = made;

    gxtkAudio* owner = gxtkAudio::audio;
    if (!owner) return 0;
    for (int i = 0; i < gxtkAudio::kMusicChannel; ++i) {
        gxtkChannel& other = owner->channels[i];
        if (other.source == 0 || owner->ChannelState(i) != 0) continue;
        source = other.source;
        other.source = 0;
        break;
    }
    return source;
}

// --- FlushDiscarded -----------------------------------------------------------

void FlushDiscarded() {
    std::vector<uint32_t>& pending = gxtkAudio::discarded;
    if (pending.empty()) return;
    if (gxtkAudio* owner = gxtkAudio::audio) {
        for (gxtkChannel& channel : owner->channels) {
            if (channel.state != 0 && SourceState(channel.source) == AL_STOPPED) {
                alSourcei(channel.source, AL_BUFFER, 0);
            }
        }
    }
    // Compacted in place: the buffers OpenAL will not delete yet (still
    // attached somewhere) stay for the next flush.
    size_t kept = 0;
    for (uint32_t buffer : pending) {
        alGetError();  // an older error must not look like this delete's
        alDeleteBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) pending[kept++] = buffer;
    }
    pending.resize(kept);
}

// --- gxtkAudio: start-up and shutdown -----------------------------------------

gxtkAudio::gxtkAudio() {
    audio = this;
    ++generation;
    discarded.reserve(kDiscardedReserve);
    device = alcOpenDevice(nullptr);
    if (!device) device = alcOpenDevice("Generic Hardware");
    if (!device) device = alcOpenDevice("Generic Software");
    qvPrint(u"opening openal device");
    if (!device) {
        qvPrint(u"OpenAl error: alcOpenDevice failed");
    } else if (!(context = alcCreateContext(device, nullptr))) {
        qvPrint(u"OpenAl error: alcCreateContext failed");
    } else if (!alcMakeContextCurrent(context)) {
        qvPrint(u"OpenAl error: alcMakeContextCurrent failed");
    }
    alDistanceModel(AL_NONE);
    channels[kMusicChannel].AL_Source();
}

gxtkAudio::~gxtkAudio() {
    ALCcontext* previous = alcGetCurrentContext();
    if (context && previous != context) alcMakeContextCurrent(context);
    for (gxtkChannel& channel : channels) {
        if (channel.source != 0) {
            alSourceStop(channel.source);
            alSourcei(channel.source, AL_BUFFER, 0);
            alDeleteSources(1, &channel.source);
        }
        channel = gxtkChannel();  // releasing a sample may queue its buffer
    }
    if (audio == this) {
        // The pending buffers are this device's and nothing holds them now.
        for (uint32_t buffer : discarded) alDeleteBuffers(1, &buffer);
        discarded.clear();
        audio = nullptr;
    }
    ++generation;  // buffers of samples still alive die with the context
    if (context) {
        alcMakeContextCurrent(previous != context ? previous : nullptr);
        alcDestroyContext(context);
    }
    if (device) alcCloseDevice(device);
}

// --- gxtkAudio: loading -------------------------------------------------------

std::shared_ptr<gxtkSample> gxtkAudio::LoadSample(const String& path) {
    FlushDiscarded();
    auto sample = std::make_shared<gxtkSample>();
    if (!LoadSample__UNSAFE__(*sample, path)) return nullptr;
    return sample;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample& sample, const String& path) {
    if (!QvGame::_game) return false;
    int length = 0, channelCount = 0, bytesPerSample = 0, rate = 0;
    unsigned char* data = QvGame::_game->LoadAudioData(path, &length, &channelCount, &bytesPerSample, &rate);
    if (!data) return false;
    // Computed wide: a size OpenAL cannot take is refused rather than wrapped.
    long long byteCount = static_cast<long long>(length) * channelCount * bytesPerSample;
    if (byteCount < 0 || byteCount > INT_MAX) {
        free(data);
        return false;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, BufferFormat(bytesPerSample, channelCount), data, static_cast<ALsizei>(byteCount), rate);
    free(data);
    sample.SetBuffer(buffer);
    return true;
}

// --- gxtkAudio: channels ------------------------------------------------------

gxtkChannel* gxtkAudio::Channel(int channel) {
    if (channel < 0 || channel >= kChannelCount) return nullptr;
    return &channels[channel];
}

int gxtkAudio::PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) {
    gxtkChannel* slot = Channel(channel);
    if (!slot || !sample) return -1;
    FlushDiscarded();
    uint32_t source = slot->AL_Source();
    if (source == 0) return -1;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    slot->sample = sample;
    slot->flags = flags;
    slot->state = 1;
    return 0;
}

void gxtkAudio::StopChannel(int channel) {
    gxtkChannel* slot = Channel(channel);
    if (!slot || slot->state == 0) return;
    alSourceStop(slot->source);
    slot->state = 0;
}

void gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* slot = Channel(channel);
    if (!slot || slot->state != 1) return;
    if (SourceState(slot->source) == AL_STOPPED) {
        slot->state = 0;  // it had already ended
        return;
    }
    alSourcePause(slot->source);
    slot->state = 2;
}

void gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* slot = Channel(channel);
    if (!slot || slot->state != 2) return;
    alSourcePlay(slot->source);
    slot->state = 1;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* slot = Channel(channel);
    if (!slot) return 0;
    if (slot->state == 1 && SourceState(slot->source) == AL_STOPPED) slot->state = 0;
    return slot->state;
}

void gxtkAudio::SetVolume(int channel, float volume) {
    gxtkChannel* slot = Channel(channel);
    if (!slot) return;
    if (uint32_t source = slot->AL_Source()) alSourcef(source, AL_GAIN, volume);
}

void gxtkAudio::SetPan(int channel, float pan) {
    gxtkChannel* slot = Channel(channel);
    if (!slot) return;
    // Distance attenuation is off, so only the direction counts.
    if (uint32_t source = slot->AL_Source()) alSource3f(source, AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
}

void gxtkAudio::SetRate(int channel, float rate) {
    gxtkChannel* slot = Channel(channel);
    if (!slot) return;
    if (uint32_t source = slot->AL_Source()) alSourcef(source, AL_PITCH, rate);
}

void gxtkAudio::Suspend() {
    for (gxtkChannel& channel : channels) {
        if (channel.state == 1 && SourceState(channel.source) == AL_PLAYING) alSourcePause(channel.source);
    }
}

void gxtkAudio::Resume() {
    for (gxtkChannel& channel : channels) {
        if (channel.state == 1 && SourceState(channel.source) == AL_PAUSED) alSourcePlay(channel.source);
    }
}

// --- gxtkAudio: music ---------------------------------------------------------

int gxtkAudio::PlayMusic(const String& path, int flags) {
    StopMusic();
    std::shared_ptr<gxtkSample> music = LoadSample(path);
    if (!music) return -1;
    return PlaySample(music, kMusicChannel, flags);
}

void gxtkAudio::StopMusic() { StopChannel(kMusicChannel); }
void gxtkAudio::PauseMusic() { PauseChannel(kMusicChannel); }
void gxtkAudio::ResumeMusic() { ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
void gxtkAudio::SetMusicVolume(float volume) { SetVolume(kMusicChannel, volume); }
