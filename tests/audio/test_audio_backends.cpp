// The device under OpenAL Soft configurations of its own: the wave-file writer
// (what reaches the output), a cap of four sources (robbing), and a backend
// that cannot open (the start-up messages, then silence).
//
// OpenAL Soft reads its configuration once per process, so each case runs its
// device in a fresh process: a death test in "threadsafe" style re-executes
// this binary for just that case, with ALSOFT_CONF naming the case's file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <AL/al.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "audio/gxtk_audio.h"
#include "host/qvgame.h"
#include "tests/audio/audio_test_support.h"

namespace {

constexpr char kSharedDirVariable[] = "ZT_AUDIO_TEST_DIR";

// A folder shared by a test and the processes it starts: made by the first
// process, found by the others in the environment they inherit.
const std::string& SharedDir() {
    static const std::string path = [] {
        if (const char* inherited = getenv(kSharedDirVariable)) return std::string(inherited);
        static ScratchDir made;
        setenv(kSharedDirVariable, made.path.c_str(), 1);
        return made.path;
    }();
    return path;
}

std::string SharedFile(const std::string& name) { return SharedDir() + "/" + name; }

// Points OpenAL Soft in processes started from here on at a configuration,
// until the test ends (this process's own OpenAL may start later, in another test).
class OpenAlConfig {
public:
    OpenAlConfig(const std::string& name, const std::string& text) {
        if (const char* old = getenv("ALSOFT_CONF")) previous = old;
        setenv("ALSOFT_CONF", WriteFileBytes(SharedFile(name + ".conf"), text).c_str(), 1);
    }
    ~OpenAlConfig() { setenv("ALSOFT_CONF", previous.c_str(), 1); }

private:
    std::string previous;
};

class AudioBackend : public testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        previousHost = QvGame::_game;
        QvGame::_game = &host;
    }
    void TearDown() override { QvGame::_game = previousHost; }

    QvGame host;
    QvGame* previousHost = nullptr;
};

// Failures found in a child process go to its stderr, which the parent shows
// when the child's exit status is not 0.
class ChildChecks {
public:
    void operator()(bool ok, const char* what) {
        if (ok) return;
        fprintf(stderr, "check failed: %s\n", what);
        ++failures;
    }
    [[noreturn]] void Exit() {
        fflush(stdout);
        fflush(stderr);
        _exit(failures == 0 ? 0 : 1);
    }

private:
    int failures = 0;
};

std::shared_ptr<gxtkSample> LoadShared(gxtkAudio& audio, const std::string& name) {
    return audio.LoadSample(FromUtf8(SharedFile(name)));
}

// --- The wave writer: what a played sound puts into the output -----------------

struct StereoLevels {
    bool parsed = false;
    double leftRms = 0, rightRms = 0;
    int peak = 0;
};

// Reads the 16-bit stereo samples after the "data" tag of the writer's file.
StereoLevels MeasureOutput(const std::string& bytes) {
    StereoLevels levels;
    size_t offset = 12;
    while (offset + 8 <= bytes.size() && memcmp(bytes.data() + offset, "data", 4) != 0) {
        uint32_t size = 0;
        memcpy(&size, bytes.data() + offset + 4, 4);
        offset += 8 + size;
    }
    if (offset + 8 > bytes.size()) return levels;
    offset += 8;
    double left = 0, right = 0;
    size_t frames = (bytes.size() - offset) / 4;
    for (size_t i = 0; i < frames; ++i) {
        int16_t sample[2];
        memcpy(sample, bytes.data() + offset + 4 * i, 4);
        left += static_cast<double>(sample[0]) * sample[0];
        right += static_cast<double>(sample[1]) * sample[1];
        levels.peak = std::max({levels.peak, std::abs(int{sample[0]}), std::abs(int{sample[1]})});
    }
    levels.parsed = frames > 0;
    levels.leftRms = std::sqrt(left / std::max<size_t>(frames, 1));
    levels.rightRms = std::sqrt(right / std::max<size_t>(frames, 1));
    return levels;
}

// The child's side: one tone at a volume and pan through a fresh device, then
// the device closes so the writer completes its file.
[[noreturn]] void PlayToneThroughTheWriter(float volume, float pan) {
    ChildChecks check;
    auto* audio = new gxtkAudio();
    check(audio->device != nullptr, "the wave writer opened");
    std::shared_ptr<gxtkSample> tone = LoadShared(*audio, "tone.wav");
    check(tone != nullptr, "the tone loaded");
    audio->SetVolume(0, volume);
    audio->SetPan(0, pan);
    check(audio->PlaySample(tone, 0, 0) == 0, "the tone played");
    check(WaitUntil([&] { return audio->ChannelState(0) == 0; }), "the tone ended");
    SleepMs(100);  // the mixer's last periods
    tone.reset();
    delete audio;
    check.Exit();
}

enum class Heard { Centre, Silence, Left, Right };

struct WriterCase {
    const char* name;
    float volume, pan;
    Heard heard;
};
void PrintTo(const WriterCase& c, std::ostream* os) { *os << c.name; }

class WaveWriter : public AudioBackend, public testing::WithParamInterface<WriterCase> {};

TEST_P(WaveWriter, PlayedToneReachesTheOutputAsSet) {
    const WriterCase& c = GetParam();
    const std::string output = SharedFile(std::string(c.name) + ".out.wav");
    remove(output.c_str());
    WriteFileBytes(SharedFile("tone.wav"), SineWave(0.3, 1, 44100, 440.0, 0.5));
    OpenAlConfig config(c.name,
                        "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\nfrequency=44100\n"
                        "hrtf=false\ndither=false\n[wave]\nfile=" + output + "\n");
    EXPECT_EXIT(PlayToneThroughTheWriter(c.volume, c.pan), testing::ExitedWithCode(0), "");

    StereoLevels levels = MeasureOutput(ReadFileBytes(output));
    ASSERT_TRUE(levels.parsed) << "no samples in " << output;
    switch (c.heard) {
        case Heard::Centre:
            EXPECT_GT(levels.peak, 4000);
            EXPECT_NEAR(levels.leftRms / levels.rightRms, 1.0, 0.2);
            break;
        case Heard::Silence:
            EXPECT_LE(levels.peak, 1);
            break;
        case Heard::Left:
            EXPECT_GT(levels.peak, 4000);
            EXPECT_GT(levels.leftRms, 4 * levels.rightRms);
            break;
        case Heard::Right:
            EXPECT_GT(levels.peak, 4000);
            EXPECT_GT(levels.rightRms, 4 * levels.leftRms);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(AudioBackend, WaveWriter,
                         testing::Values(WriterCase{"Centre", 1.0f, 0.0f, Heard::Centre},
                                         WriterCase{"VolumeZero", 0.0f, 0.0f, Heard::Silence},
                                         WriterCase{"PanLeft", 1.0f, static_cast<float>(-M_PI / 2), Heard::Left},
                                         WriterCase{"PanRight", 1.0f, static_cast<float>(M_PI / 2), Heard::Right}),
                         [](const testing::TestParamInfo<WriterCase>& info) { return std::string(info.param.name); });

// --- Four sources: who gives up a source when OpenAL has no more ---------------------

[[noreturn]] void ExhaustFourSources() {
    ChildChecks check;
    auto* audio = new gxtkAudio();
    std::shared_ptr<gxtkSample> loop = LoadShared(*audio, "loop.wav");
    std::shared_ptr<gxtkSample> blip = LoadShared(*audio, "blip.wav");
    gxtkChannel* channels = audio->channels;
    const uint32_t music = channels[32].source;
    check(music != 0, "the music channel has its source from the start");

    check(audio->PlaySample(loop, 0, 1) == 0 && audio->PlaySample(loop, 1, 1) == 0 &&
              audio->PlaySample(loop, 2, 1) == 0,
          "three effect channels get the other three sources");
    check(audio->PlaySample(loop, 3, 1) == -1, "with every channel busy a fifth source is refused");
    check(channels[3].source == 0 && channels[3].state == 0, "the refused channel is left as it was");
    audio->StopMusic();
    check(audio->PlaySample(loop, 3, 1) == -1 && channels[32].source == music,
          "the stopped music channel is never robbed");

    audio->StopChannel(2);
    audio->StopChannel(1);
    const uint32_t fromOne = channels[1].source;
    check(audio->PlaySample(loop, 3, 1) == 0, "a stopped channel gives up its source");
    check(channels[3].source == fromOne && channels[1].source == 0 && channels[2].source != 0,
          "the lowest-numbered stopped channel gives it up");

    check(audio->PlaySample(blip, 0, 0) == 0, "the blip played");
    const uint32_t fromZero = channels[0].source;
    check(WaitUntil([&] {
              ALint state = AL_PLAYING;
              alGetSourcei(fromZero, AL_SOURCE_STATE, &state);
              return state == AL_STOPPED;
          }),
          "the blip ended");
    check(audio->PlaySample(loop, 4, 1) == 0 && channels[4].source == fromZero && channels[0].state == 0,
          "a one-shot that ended counts as stopped (channel 0 goes before the stopped channel 2)");
    check(channels[32].source == music, "the music channel kept its source");
    delete audio;
    check.Exit();
}

TEST_F(AudioBackend, WithFourSourcesTheLowestStoppedEffectChannelGivesUpItsSource) {
    WriteFileBytes(SharedFile("loop.wav"), SineWave(0.5, 1, 22050));
    WriteFileBytes(SharedFile("blip.wav"), SineWave(0.03, 1, 22050));
    OpenAlConfig config("four-sources", "[general]\ndrivers=null\nsources=4\n");
    EXPECT_EXIT(ExhaustFourSources(), testing::ExitedWithCode(0), "");
}

// --- No device: the messages, then silence ------------------------------------------

[[noreturn]] void RunWithoutADevice() {
    dup2(STDERR_FILENO, STDOUT_FILENO);  // the parent matches what was printed
    ChildChecks check;
    auto* audio = new gxtkAudio();
    check(audio->device == nullptr && audio->context == nullptr, "no device opened");
    std::shared_ptr<gxtkSample> tone = LoadShared(*audio, "tone.wav");
    check(audio->PlaySample(tone, 0, 0) == -1, "playing fails");
    check(audio->PlayMusic(FromUtf8(SharedFile("tone.wav")), 1) == -1, "music fails");
    check(audio->ChannelState(0) == 0 && audio->MusicState() == 0, "nothing plays");
    audio->SetVolume(1, 0.5f);
    audio->SetPan(1, 0.5f);
    audio->SetRate(1, 0.5f);
    audio->PauseChannel(0);
    audio->ResumeChannel(0);
    audio->Suspend();
    audio->Resume();
    if (tone) tone->Discard();
    FlushDiscarded();
    delete audio;
    check.Exit();
}

TEST_F(AudioBackend, WithoutADeviceTheGameRunsOnSilently) {
    WriteFileBytes(SharedFile("tone.wav"), SineWave(0.05, 1, 22050));
    // The writer refuses to open without a file name, and it is the only backend.
    OpenAlConfig config("no-device", "[general]\ndrivers=wave\n[wave]\nfile=\n");
    EXPECT_EXIT(RunWithoutADevice(), testing::ExitedWithCode(0),
                testing::HasSubstr("opening openal device\nOpenAl error: alcOpenDevice failed\n"));
}

}  // namespace
