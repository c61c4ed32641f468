#include "tests/audio/audio_test_support.h"

#include <stdlib.h>
#include <time.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

namespace {

// Run straight from the shell, the tests still get a silent device; CTest and
// the tests that start their own processes set ALSOFT_CONF themselves.
const bool kNullBackendByDefault = [] {
    setenv("ALSOFT_CONF", ZT_SOURCE_DIR "/tests/alsoft-null.conf", 0);
    return true;
}();

std::string Le(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
    return out;
}

}  // namespace

// --- WAVE bytes -----------------------------------------------------------------

std::string FmtChunk(int channels, int rate, int bits, int formatTag, const std::string& extra) {
    int blockAlign = channels * bits / 8;
    std::string body = Le(formatTag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * blockAlign, 4) +
                       Le(blockAlign, 2) + Le(bits, 2) + extra;
    return Chunk("fmt ", body);
}

std::string Chunk(const std::string& tag, const std::string& body, long long size) {
    uint32_t written = size < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(size);
    return tag + Le(written, 4) + body;
}

std::string Wave(const std::vector<std::string>& chunks) {
    std::string body = "WAVE";
    for (const std::string& chunk : chunks) body += chunk;
    return "RIFF" + Le(static_cast<uint32_t>(body.size()), 4) + body;
}

std::string SinePcm16(int frames, int channels, int rate, double frequency, double amplitude) {
    std::string out;
    for (int i = 0; i < frames; ++i) {
        double value = amplitude * std::sin(2.0 * M_PI * frequency * i / rate);
        auto sample = static_cast<int16_t>(std::lround(value * 32767.0));
        for (int c = 0; c < channels; ++c) out += Le(static_cast<uint16_t>(sample), 2);
    }
    return out;
}

std::string SineWave(double seconds, int channels, int rate, double frequency, double amplitude) {
    int frames = static_cast<int>(seconds * rate);
    return Wave({FmtChunk(channels, rate, 16), Chunk("data", SinePcm16(frames, channels, rate, frequency, amplitude))});
}

// --- Files ----------------------------------------------------------------------

FilePtr FileWithBytes(const std::string& bytes) {
    FILE* file = tmpfile();
    if (file) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        rewind(file);
    }
    return FilePtr(file);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string FixturePath(const std::string& name) { return std::string(ZT_SOURCE_DIR "/tests/audio/data/") + name; }

ScratchDir::ScratchDir() {
    char name[] = "/tmp/zt-audio-XXXXXX";
    if (mkdtemp(name)) path = name;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}


void SleepMs(int ms) {
    struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

// --- Heap probes ----------------------------------------------------------------
//
// Only the calling thread is watched: OpenAL Soft mixes on threads of its own.

namespace {

thread_local int probingMalloc = 0;
thread_local size_t largestMalloc = 0;

[[maybe_unused]] void NoteMalloc(size_t size) {
    if (probingMalloc && size > largestMalloc) largestMalloc = size;
}

}  // namespace


#if defined(__SANITIZE_ADDRESS__)
#define ZT_AUDIO_TESTS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZT_AUDIO_TESTS_ASAN 1
#endif
#endif

#ifdef ZT_AUDIO_TESTS_ASAN
// AddressSanitizer owns malloc here (and aborts on absurd sizes by itself).
bool MallocProbe::Available() { return false; }
#else
bool MallocProbe::Available() { return true; }

// glibc's allocator stays in charge; these wrappers only look at the sizes.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);

void* malloc(size_t size) {
    NoteMalloc(size);
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    NoteMalloc(count * size);
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size) {
    NoteMalloc(size);
    return __libc_realloc(block, size);
}
}
#endif

MallocProbe::MallocProbe() {
    largestMalloc = 0;
    ++probingMalloc;
}
MallocProbe::~MallocProbe() { --probingMalloc; }
size_t MallocProbe::Largest() const { return largestMalloc; }
