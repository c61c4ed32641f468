// The audio device and module against the real OpenAL Soft on its null
// backend: sounds really play and end, only silently.
#include <gtest/gtest.h>

#include <AL/al.h>

#include <cmath>
#include <memory>
#include <string>

#include "audio/audio.h"
#include "host/qvgame.h"
#include "tests/audio/audio_test_support.h"

namespace {

ALint SourceInt(uint32_t source, ALenum property) {
    ALint value = -1;
    alGetSourcei(source, property, &value);
    return value;
}

class AudioDevice : public testing::Test {
protected:
    void SetUp() override {
        previousHost = QvGame::_game;
        QvGame::_game = &host;
        shortPath = files.Write("short.wav", SineWave(0.03, 1, 22050));
        longPath = files.Write("long.wav", SineWave(0.5, 2, 22050));
        testing::internal::CaptureStdout();
        audio = std::make_unique<gxtkAudio>();
        startUpOutput = testing::internal::GetCapturedStdout();
        ASSERT_NE(audio->device, nullptr) << "OpenAL Soft's null backend did not open";
        shortSound = audio->LoadSample(FromUtf8(shortPath));
        longSound = audio->LoadSample(FromUtf8(longPath));
        ASSERT_TRUE(shortSound && longSound);
    }

    void TearDown() override {
        shortSound.reset();
        longSound.reset();
        audio.reset();
        QvGame::_game = previousHost;
    }

    uint32_t Source(int channel) const { return audio->channels[channel].source; }
    struct Settings {
        ALfloat gain = -1, pitch = -1, x = 9, y = 9, z = 9;
    };
    Settings SourceSettings(int channel) const {
        Settings settings;
        alGetSourcef(Source(channel), AL_GAIN, &settings.gain);
        alGetSourcef(Source(channel), AL_PITCH, &settings.pitch);
        alGetSource3f(Source(channel), AL_POSITION, &settings.x, &settings.y, &settings.z);
        return settings;
    }
    ALint AlState(int channel) const { return SourceInt(Source(channel), AL_SOURCE_STATE); }
    // Waits until OpenAL itself has finished the channel's sound, without
    // asking the device (which would notice the end on its own).
    bool WaitUntilOpenAlStopped(int channel) {
        return WaitUntil([&] { return AlState(channel) == AL_STOPPED; });
    }

    QvGame host;
    QvGame* previousHost = nullptr;
    ScratchDir files;
    std::string shortPath, longPath;
    std::string startUpOutput;
    std::unique_ptr<gxtkAudio> audio;
    std::shared_ptr<gxtkSample> shortSound, longSound;
};

TEST_F(AudioDevice, StartsUpWithTheMusicChannelsSourceAndNoDistanceModel) {
    EXPECT_EQ(startUpOutput, "opening openal device\n");
    EXPECT_EQ(gxtkAudio::audio, audio.get());
    EXPECT_NE(Source(gxtkAudio::kMusicChannel), 0u);
    for (int channel = 0; channel < gxtkAudio::kMusicChannel; ++channel) EXPECT_EQ(Source(channel), 0u);
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE);
}

// --- Loading ----------------------------------------------------------------------

struct SampleFile {
    const char* name;
    std::string bytes;
    int bufferBytes, bits, channels, rate;
};
void PrintTo(const SampleFile& f, std::ostream* os) { *os << f.name; }

class LoadedSamples : public AudioDevice, public testing::WithParamInterface<SampleFile> {};

TEST_P(LoadedSamples, BecomeOneBufferOfTheWholeSound) {
    const SampleFile& f = GetParam();
    std::shared_ptr<gxtkSample> sample = audio->LoadSample(FromUtf8(files.Write(f.name, f.bytes)));
    ASSERT_TRUE(sample);
    ASSERT_TRUE(alIsBuffer(sample->buffer));
    ALint size = 0, bits = 0, channels = 0, rate = 0;
    alGetBufferi(sample->buffer, AL_SIZE, &size);
    alGetBufferi(sample->buffer, AL_BITS, &bits);
    alGetBufferi(sample->buffer, AL_CHANNELS, &channels);
    alGetBufferi(sample->buffer, AL_FREQUENCY, &rate);
    EXPECT_EQ(size, f.bufferBytes);
    EXPECT_EQ(bits, f.bits);
    EXPECT_EQ(channels, f.channels);
    EXPECT_EQ(rate, f.rate);
}

INSTANTIATE_TEST_SUITE_P(
    AudioDevice, LoadedSamples,
    testing::Values(SampleFile{"stereo16.wav", Wave({FmtChunk(2, 44100, 16), Chunk("data", std::string(4000, '\0'))}),
                               4000, 16, 2, 44100},
                    SampleFile{"mono8.wav", Wave({FmtChunk(1, 8000, 8), Chunk("data", std::string(300, '\x80'))}), 300,
                               8, 1, 8000},
                    SampleFile{"tune.ogg", ReadFileBytes(FixturePath("tone-mono-22050.ogg")), 5512 * 2, 16, 1, 22050}),
    [](const testing::TestParamInfo<SampleFile>& info) { return std::to_string(info.index); });

TEST_F(AudioDevice, UndecodableFilesLoadNothing) {
    EXPECT_EQ(audio->LoadSample(FromUtf8(files.Path("missing.wav"))), nullptr);
    EXPECT_EQ(audio->LoadSample(FromUtf8(files.Write("broken.wav", "RIFF...."))), nullptr);
    EXPECT_EQ(audio->LoadSample(FromUtf8(files.Write("tone.mp3", SineWave(0.01, 1, 8000)))), nullptr);
}

// --- Channels -----------------------------------------------------------------------

TEST_F(AudioDevice, OneShotSoundThatEndsIsNoticedAsStopped) {
    ASSERT_EQ(audio->PlaySample(shortSound, 0, 0), 0);
    EXPECT_EQ(audio->ChannelState(0), 1);
    EXPECT_EQ(SourceInt(Source(0), AL_LOOPING), AL_FALSE);
    EXPECT_TRUE(WaitUntil([&] { return audio->ChannelState(0) == 0; }));
    EXPECT_EQ(audio->channels[0].state, 0);
}

TEST_F(AudioDevice, PausingASoundThatEndedLeavesTheChannelStopped) {
    ASSERT_EQ(audio->PlaySample(shortSound, 4, 0), 0);
    ASSERT_TRUE(WaitUntilOpenAlStopped(4));
    EXPECT_EQ(audio->channels[4].state, 1) << "the end is noticed only when asked";
    audio->PauseChannel(4);
    EXPECT_EQ(audio->channels[4].state, 0);
    EXPECT_EQ(AlState(4), AL_STOPPED) << "no pause reached OpenAL";
    audio->ResumeChannel(4);
    EXPECT_EQ(audio->ChannelState(4), 0);
}

TEST_F(AudioDevice, NewSoundOnABusyChannelReplacesTheOld) {
    ASSERT_EQ(audio->PlaySample(longSound, 5, 1), 0);
    ASSERT_EQ(audio->PlaySample(shortSound, 5, 0), 0);
    EXPECT_EQ(audio->ChannelState(5), 1);
    EXPECT_EQ(audio->channels[5].sample, shortSound);
    EXPECT_EQ(SourceInt(Source(5), AL_BUFFER), static_cast<ALint>(shortSound->buffer));
    EXPECT_EQ(SourceInt(Source(5), AL_LOOPING), AL_FALSE);
}

TEST_F(AudioDevice, PauseResumeAndStop) {
    ASSERT_EQ(audio->PlaySample(longSound, 7, 1), 0);
    EXPECT_EQ(SourceInt(Source(7), AL_LOOPING), AL_TRUE);
    audio->PauseChannel(7);
    EXPECT_EQ(audio->ChannelState(7), 2);
    EXPECT_EQ(AlState(7), AL_PAUSED);
    audio->ResumeChannel(7);
    EXPECT_EQ(audio->ChannelState(7), 1);
    EXPECT_EQ(AlState(7), AL_PLAYING);
    audio->StopChannel(7);
    EXPECT_EQ(audio->ChannelState(7), 0);
    EXPECT_EQ(AlState(7), AL_STOPPED);
}

TEST_F(AudioDevice, SettingsStayOnTheChannelsSourceAcrossPlays) {
    audio->SetVolume(3, 0.25f);
    audio->SetRate(3, 1.5f);
    audio->SetPan(3, 0.0f);
    ASSERT_NE(Source(3), 0u) << "a setting makes the channel's source";
    ASSERT_EQ(audio->PlaySample(shortSound, 3, 0), 0);
    Settings played = SourceSettings(3);
    EXPECT_FLOAT_EQ(played.gain, 0.25f);
    EXPECT_FLOAT_EQ(played.pitch, 1.5f);
    EXPECT_FLOAT_EQ(played.x, 0.0f);  // straight ahead
    EXPECT_FLOAT_EQ(played.y, 0.0f);
    EXPECT_FLOAT_EQ(played.z, -1.0f);

    audio->SetPan(3, static_cast<float>(M_PI / 2));  // fully right
    Settings right = SourceSettings(3);
    EXPECT_FLOAT_EQ(right.x, 1.0f);
    EXPECT_NEAR(right.z, 0.0f, 1e-6);
}

TEST_F(AudioDevice, ChannelsOutsideTheRangeAndNullSamplesAreRefusedQuietly) {
    EXPECT_EQ(audio->PlaySample(shortSound, -1, 0), -1);
    EXPECT_EQ(audio->PlaySample(shortSound, gxtkAudio::kChannelCount, 0), -1);
    EXPECT_EQ(audio->PlaySample(nullptr, 0, 0), -1);
    EXPECT_EQ(audio->ChannelState(99), 0);
    audio->SetVolume(99, 1.0f);
    audio->StopChannel(-5);
    EXPECT_EQ(Source(0), 0u);
}

// --- Music ------------------------------------------------------------------------

TEST_F(AudioDevice, MusicPlaysOnChannel32AndAMissingFileStopsTheOld) {
    ASSERT_EQ(audio->PlayMusic(FromUtf8(FixturePath("tone-stereo-44100.ogg")), 1), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    EXPECT_EQ(SourceInt(Source(32), AL_LOOPING), AL_TRUE);
    audio->SetMusicVolume(0.4f);
    EXPECT_FLOAT_EQ(SourceSettings(32).gain, 0.4f);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);

    EXPECT_EQ(audio->PlayMusic(FromUtf8(files.Path("missing.ogg")), 1), -1);
    EXPECT_EQ(audio->MusicState(), 0);
    EXPECT_EQ(AlState(32), AL_STOPPED);
}

// --- Suspend and resume ------------------------------------------------------------

TEST_F(AudioDevice, ChannelsTheGamePausedStayPausedAcrossSuspendAndResume) {
    ASSERT_EQ(audio->PlaySample(longSound, 0, 1), 0);
    ASSERT_EQ(audio->PlaySample(longSound, 1, 1), 0);
    audio->PauseChannel(1);
    audio->Suspend();
    EXPECT_EQ(AlState(0), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(0), 1);
    EXPECT_EQ(AlState(1), AL_PAUSED);
    audio->Resume();
    EXPECT_EQ(AlState(0), AL_PLAYING);
    EXPECT_EQ(AlState(1), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(1), 2);
}

// --- Discarded buffers ---------------------------------------------------------------

TEST_F(AudioDevice, DiscardedBufferIsDeletedOnceNoSourceHoldsIt) {
    ASSERT_EQ(audio->PlaySample(shortSound, 0, 0), 0);
    const uint32_t buffer = shortSound->buffer;
    shortSound->Discard();
    EXPECT_EQ(shortSound->buffer, 0u);
    EXPECT_EQ(gxtkAudio::discarded, std::vector<uint32_t>{buffer});

    FlushDiscarded();  // still playing on channel 0
    EXPECT_TRUE(alIsBuffer(buffer));
    EXPECT_EQ(gxtkAudio::discarded, std::vector<uint32_t>{buffer});

    ASSERT_TRUE(WaitUntilOpenAlStopped(0));
    ASSERT_EQ(audio->PlaySample(longSound, 1, 0), 0);  // plays flush first
    EXPECT_FALSE(alIsBuffer(buffer));
    EXPECT_TRUE(gxtkAudio::discarded.empty());
    EXPECT_EQ(audio->ChannelState(0), 0);
}

TEST_F(AudioDevice, ReleasingTheLastReferenceDiscardsTheSample) {
    const uint32_t buffer = longSound->buffer;
    longSound.reset();
    EXPECT_EQ(gxtkAudio::discarded, std::vector<uint32_t>{buffer});
    std::shared_ptr<gxtkSample> reloaded = audio->LoadSample(FromUtf8(shortPath));  // loads flush first
    ASSERT_TRUE(reloaded);
    EXPECT_TRUE(gxtkAudio::discarded.empty());
    EXPECT_TRUE(!alIsBuffer(buffer) || reloaded->buffer == buffer) << "OpenAL may give the name out again";
}

// --- The audio module ----------------------------------------------------------------

class AudioModule : public AudioDevice {
protected:
    void SetUp() override {
        AudioDevice::SetUp();
        audio::SetAudioDevice(audio.get());
    }
    void TearDown() override {
        audio::InitModule();
        AudioDevice::TearDown();
    }
};

TEST_F(AudioModule, DrivesTheDevice) {
    std::shared_ptr<Sound> sound = audio::LoadSound(FromUtf8(longPath));
    ASSERT_TRUE(sound && sound->sample);
    audio::SetChannelVolume(9, 0.5f);
    audio::SetChannelRate(9, 0.7f);
    audio::SetChannelPan(9, static_cast<float>(M_PI / 2));
    audio::PlaySound(sound, 9, 1);
    EXPECT_EQ(audio->ChannelState(9), 1);
    EXPECT_EQ(audio->channels[9].sample, sound->sample);
    Settings settings = SourceSettings(9);
    EXPECT_FLOAT_EQ(settings.gain, 0.5f);
    EXPECT_FLOAT_EQ(settings.pitch, 0.7f);
    EXPECT_FLOAT_EQ(settings.x, 1.0f);
    audio::StopChannel(9);
    EXPECT_EQ(audio->ChannelState(9), 0);

    EXPECT_EQ(audio::PlayMusic(FromUtf8(FixturePath("tone-mono-22050.ogg")), 1), 0);
    audio::SetMusicVolume(0.7f);
    EXPECT_FLOAT_EQ(SourceSettings(32).gain, 0.7f);
    audio::PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    audio::ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);
    audio::StopMusic();
    EXPECT_EQ(audio->MusicState(), 0);
}

TEST_F(AudioModule, MissingSoundsAreNullAndPlayNothing) {
    EXPECT_EQ(audio::LoadSound(FromUtf8(files.Path("missing.wav"))), nullptr);
    EXPECT_EQ(audio::PlayMusic(FromUtf8(files.Path("missing.ogg")), 1), -1);
    audio::PlaySound(nullptr, 2, 0);
    audio::PlaySound(std::make_shared<Sound>(), 2, 0);
    EXPECT_EQ(audio->ChannelState(2), 0);
    EXPECT_EQ(Source(2), 0u);
}

TEST(AudioModuleWithoutDevice, EveryCallIsQuiet) {
    audio::InitModule();
    EXPECT_EQ(audio::LoadSound(u"sfx/004.wav"), nullptr);
    EXPECT_EQ(audio::PlayMusic(u"sfx/fish.ogg", 1), -1);
    audio::PlaySound(std::make_shared<Sound>(), 0, 0);
    audio::StopChannel(0);
    audio::SetChannelVolume(0, 1.0f);
    audio::SetChannelPan(0, 1.0f);
    audio::SetChannelRate(0, 1.0f);
    audio::StopMusic();
    audio::PauseMusic();
    audio::ResumeMusic();
    audio::SetMusicVolume(1.0f);
}

// Everything a tick may do with sound, including making the channels' sources
// and flushing a pending buffer: no C++ allocation happens (OpenAL Soft's own
// C allocations are not watched).
TEST_F(AudioModule, PlayingAllocatesNothing) {
    std::shared_ptr<Sound> zap = audio::LoadSound(FromUtf8(shortPath));
    std::shared_ptr<Sound> loop = audio::LoadSound(FromUtf8(longPath));
    ASSERT_TRUE(zap && loop);
    ASSERT_EQ(audio::PlayMusic(FromUtf8(longPath), 1), 0);
    ASSERT_EQ(audio->PlaySample(longSound, 20, 1), 0);
    longSound->Discard();  // pending while channel 20 plays it

    AllocationProbe probe;
    for (int round = 0; round < 3; ++round) {
        for (int channel = 0; channel < 24; ++channel) {
            audio::StopChannel(channel);
            audio::PlaySound(channel % 2 ? zap : loop, channel, 0);
            audio::SetChannelRate(channel, 1.2f);
            audio::SetChannelVolume(channel, 0.75f);
            audio::SetChannelPan(channel, 0.0f);
            audio->ChannelState(channel);
        }
        audio::PauseMusic();
        audio::ResumeMusic();
        audio::SetMusicVolume(0.4f);
        audio->Suspend();
        audio->Resume();
    }
    EXPECT_EQ(probe.Made(), 0);
}

}  // namespace
