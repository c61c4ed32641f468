// Sound effects and tunes: effect names, the player's audio settings, the
// effect-channel rotation and the music channel, as seen by the audio device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/qvstring.h"
#include "tests/shell/audio_log.h"
#include "tests/shell/shell_test.h"

namespace {

constexpr int kAudioMode = 5, kEffectVolume = 6, kMusicVolume = 7;

class SoundTest : public ShellTest {
protected:
    void SetUp() override {
        game->loadStage = 0;  // no loader stages between the calls under test
        game->mode = 0;       // and no screen
    }

    AudioLog audio;  // made after the game, so the game's calls come here
};

TEST_F(SoundTest, LoadSFXReadsTheEffectOfThreeDigits) {
    struct Case {
        int id;
        std::u16string_view file;
        bool exists;
    } cases[] = {{7, u"sfx/007.wav", true}, {96, u"sfx/096.wav", true}, {4, u"sfx/004.wav", true},
                 {0, u"sfx/000.wav", false}, {50, u"sfx/050.wav", false}};
    for (const Case& c : cases) {
        game->sounds[c.id] = std::make_shared<Sound>();  // a stale entry is replaced
        audio.calls.clear();
        game->LoadSFX(c.id);
        ASSERT_EQ(audio.Of("load").size(), 1u) << c.id;
        EXPECT_TRUE(audio.Of("load")[0].path.ends_with(c.file)) << ToUtf8(audio.Of("load")[0].path);
        ASSERT_EQ(game->sounds[c.id] != nullptr, c.exists) << c.id;
        if (c.exists) {
            EXPECT_NE(game->sounds[c.id]->sample->buffer, 0u) << c.id;
        }
    }
}

TEST_F(SoundTest, LoadSFXIgnoresIdsOutsideTheBank) {
    for (int id : {-1, 100, 1000}) game->LoadSFX(id);
    EXPECT_TRUE(audio.calls.empty());
}

TEST_F(SoundTest, PlaySFXFollowsTheAudioModeAndEffectVolume) {
    struct Case {
        int audioMode, volumeStep;
        bool plays;
        float gain;  // for volume 0.5
    } cases[] = {
        {1, 0, true, 0.5f},   {2, 0, true, 0.5f},   {3, 0, false, 0},   {0, 0, false, 0},
        {4, 0, false, 0},     {1, 1, true, 0.375f}, {2, 2, true, 0.2f}, {1, 3, false, 0},
        {1, 4, true, 0.5f},   {1, -1, true, 0.5f},
    };
    game->LoadSFX(98);
    for (const Case& c : cases) {
        game->settings[kAudioMode] = c.audioMode;
        game->settings[kEffectVolume] = c.volumeStep;
        game->sfxSlot = 4;
        audio.calls.clear();
        game->PlaySFX(98, 0.5f, 0.5f, 0.25f);
        SCOPED_TRACE(testing::Message() << "mode " << c.audioMode << " step " << c.volumeStep);
        if (!c.plays) {
            EXPECT_TRUE(audio.calls.empty());
            EXPECT_EQ(game->sfxSlot, 4) << "a silent effect takes no channel";
            continue;
        }
        // The channel is stopped and set up before the effect starts on it, never looping.
        ASSERT_EQ(audio.calls.size(), 5u);
        const std::vector<AudioCall>& log = audio.calls;
        EXPECT_EQ(log[0].what, "stop");
        EXPECT_EQ(log[1].what, "rate");
        EXPECT_FLOAT_EQ(log[1].value, 0.5f);
        EXPECT_EQ(log[2].what, "volume");
        EXPECT_FLOAT_EQ(log[2].value, c.gain);
        EXPECT_EQ(log[3].what, "pan");
        EXPECT_FLOAT_EQ(log[3].value, 0.25f);
        EXPECT_EQ(log[4].what, "play");
        EXPECT_EQ(log[4].sample, game->sounds[98]->sample.get());
        EXPECT_TRUE(log[4].path.ends_with(u"sfx/098.wav"));
        EXPECT_EQ(log[4].value, 0) << "flags";
        for (const AudioCall& call : log) EXPECT_EQ(call.channel, 5);
        EXPECT_EQ(game->sfxSlot, 5);
    }
}

TEST_F(SoundTest, EffectsTakeTheTwentyFourChannelsInTurn) {
    game->LoadSFX(4);
    for (int i = 0; i < 25; ++i) game->PlaySFX(4, 1, 1, 0);
    std::vector<int> channels;
    for (const AudioCall& call : audio.Of("play")) channels.push_back(call.channel);
    std::vector<int> expected;
    for (int i = 1; i <= 23; ++i) expected.push_back(i);
    expected.push_back(0);
    expected.push_back(1);
    EXPECT_EQ(channels, expected);
}

TEST_F(SoundTest, ChannelsComeFromTheChannelMap) {
    game->LoadSFX(4);
    game->channelMap[1] = 30;
    game->PlaySFX(4, 1, 1, 0);
    ASSERT_EQ(audio.Of("play").size(), 1u);
    EXPECT_EQ(audio.Of("play")[0].channel, 30);
}

TEST_F(SoundTest, AnEffectNotLoadedIsSilent) {
    game->sounds[3] = nullptr;
    for (int id : {3, -1, 100}) game->PlaySFX(id, 1, 1, 0);
    EXPECT_TRUE(audio.calls.empty());
    EXPECT_EQ(game->sfxSlot, 0);
}

TEST_F(SoundTest, PlayTuneFollowsTheAudioModeAndMusicVolume) {
    constexpr float kKeep = -1;  // no volume call
    struct Case {
        int audioMode, volumeStep;
        bool plays;
        float volume;
    } cases[] = {
        {1, 0, true, 1.0f}, {3, 1, true, 0.7f}, {1, 2, true, 0.4f},  {3, 3, true, 0.0f},
        {1, 4, true, kKeep}, {1, -1, true, kKeep}, {2, 0, false, kKeep}, {0, 1, false, kKeep},
    };
    for (const Case& c : cases) {
        game->settings[kAudioMode] = c.audioMode;
        game->settings[kMusicVolume] = c.volumeStep;
        game->musicOn = 0;
        audio.calls.clear();
        game->PlayTune(u"fish", 1);
        SCOPED_TRACE(testing::Message() << "mode " << c.audioMode << " step " << c.volumeStep);
        EXPECT_EQ(game->musicOn, c.plays ? 1 : 0);
        if (!c.plays) {
            EXPECT_TRUE(audio.calls.empty());
            continue;
        }
        ASSERT_EQ(audio.Of("music").size(), 1u);
        EXPECT_TRUE(audio.Of("music")[0].path.ends_with(u"sfx/fish.ogg"));
        EXPECT_EQ(audio.Of("music")[0].value, 1) << "looping";
        if (c.volume == kKeep) {
            EXPECT_TRUE(audio.Of("musicVolume").empty());
            continue;
        }
        // The tune starts at its volume: music turned off is never heard.
        ASSERT_EQ(audio.calls.size(), 2u);
        EXPECT_EQ(audio.calls[0].what, "musicVolume");
        EXPECT_FLOAT_EQ(audio.calls[0].value, c.volume);
        EXPECT_EQ(audio.calls[1].what, "music");
    }
}

TEST_F(SoundTest, PlayTuneStopsThePlayingTuneFirst) {
    game->PlayTune(u"clustered", 1);
    audio.calls.clear();
    game->PlayTune(u"fish", 0);
    ASSERT_FALSE(audio.calls.empty());
    EXPECT_EQ(audio.calls[0].what, "stopMusic");
    EXPECT_TRUE(audio.Of("music").at(0).path.ends_with(u"sfx/fish.ogg"));
    EXPECT_EQ(audio.Of("music").at(0).value, 0) << "not looping";

    // Music switched off: the old tune still stops, and no new one starts.
    game->settings[kAudioMode] = 2;
    audio.calls.clear();
    game->PlayTune(u"fish", 1);
    ASSERT_EQ(audio.calls.size(), 1u);
    EXPECT_EQ(audio.calls[0].what, "stopMusic");
    EXPECT_EQ(game->musicOn, 0);
}

TEST_F(SoundTest, AMissingTuneStillCountsAsPlaying) {
    game->PlayTune(u"no-such-tune", 1);
    EXPECT_EQ(game->musicOn, 1);
}

TEST_F(SoundTest, StopTuneStopsTheMusic) {
    game->PlayTune(u"fish", 1);
    audio.calls.clear();
    game->StopTune();
    ASSERT_EQ(audio.calls.size(), 1u);
    EXPECT_EQ(audio.calls[0].what, "stopMusic");
    EXPECT_EQ(game->musicOn, 0);
}

TEST_F(SoundTest, TheTuneFollowsThePause) {
    struct Case {
        int musicOn, paused;
        const char* call;  // or null for none
    } cases[] = {{1, 1, "pauseMusic"}, {1, 0, "resumeMusic"}, {0, 1, nullptr}, {0, 0, nullptr}};
    for (const Case& c : cases) {
        game->musicOn = c.musicOn;
        game->paused = c.paused;
        for (int tick = 0; tick < 2; ++tick) {
            audio.calls.clear();
            host.Tick();
            std::vector<std::string> musicCalls;
            for (const AudioCall& call : audio.calls) {
                if (call.what == "pauseMusic" || call.what == "resumeMusic") musicCalls.push_back(call.what);
            }
            std::vector<std::string> expected;
            if (c.call) expected.push_back(c.call);
            EXPECT_EQ(musicCalls, expected) << "music " << c.musicOn << " paused " << c.paused << " tick " << tick;
        }
    }
}

}  // namespace
