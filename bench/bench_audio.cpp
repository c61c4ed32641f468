// Ogg Vorbis decoding speed: how many seconds of audio LoadOGG turns into PCM
// per second of work ("audio_s_per_s"). Tunes are decoded whole at load time,
// so this is what a tune costs the loading screen. The input is the 1-second
// 44.1 kHz stereo tone of the audio tests, decoded from memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "audio/sound_decode.h"

namespace {

#ifdef ZT_SOURCE_DIR
constexpr char kTone[] = ZT_SOURCE_DIR "/tests/audio/data/tone-stereo-44100.ogg";
#else
constexpr char kTone[] = "tests/audio/data/tone-stereo-44100.ogg";
#endif

std::string ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_LoadOGG(benchmark::State& state) {
    std::string ogg = ReadAll(kTone);
    if (ogg.empty()) {
        state.SkipWithError("missing tests/audio/data/tone-stereo-44100.ogg");
        return;
    }
    double seconds = 0;
    for (auto _ : state) {
        FILE* file = fmemopen(ogg.data(), ogg.size(), "rb");
        int length = 0, channels = 0, bytesPerSample = 0, rate = 0;
        unsigned char* pcm = LoadOGG(file, &length, &channels, &bytesPerSample, &rate);
        fclose(file);
        if (!pcm) {
            state.SkipWithError("the tone did not decode");
            return;
        }
        benchmark::DoNotOptimize(pcm);
        free(pcm);
        seconds += static_cast<double>(length) / rate;
    }
    state.counters["audio_s_per_s"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LoadOGG)->Unit(benchmark::kMillisecond);

}  // namespace
