// Helpers of the audio tests: WAVE files built byte by byte, scratch folders,
// files from bytes, and probes that watch the heap inside one scope.
//
//   std::string wav = Wave({FmtChunk(2, 44100, 16), Chunk("data", std::string(4000, '\0'))});
//   ScratchDir dir;  std::string path = dir.Write("tone.wav", wav);
//   FilePtr file = FileWithBytes(wav);                // a FILE* reading those bytes
//   { AllocationProbe probe;  Play();  EXPECT_EQ(probe.Made(), 0); }
//
// Unless the environment names another, OpenAL Soft reads
// tests/alsoft-null.conf: a silent device that still plays and ends sounds.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/allocation_count.h"

// --- WAVE bytes -----------------------------------------------------------------

// A "fmt " chunk (16 bytes of fields plus extra) for the given layout.
std::string FmtChunk(int channels, int rate, int bits, int formatTag = 1, const std::string& extra = "");
// A chunk; size defaults to the body's length.
std::string Chunk(const std::string& tag, const std::string& body, long long size = -1);
// "RIFF", size, "WAVE", then the chunks.
std::string Wave(const std::vector<std::string>& chunks);
// Little-endian 16-bit samples of a sine (amplitude 0 ... 1), channels interleaved.
std::string SinePcm16(int frames, int channels, int rate, double frequency, double amplitude);
// A complete 16-bit WAVE file of a sine.
std::string SineWave(double seconds, int channels, int rate, double frequency = 440.0, double amplitude = 0.5);

// --- Files ----------------------------------------------------------------------

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// A temporary file holding bytes, positioned at the start.
FilePtr FileWithBytes(const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// Writes (replaces) the file and returns its path.
std::string WriteFileBytes(const std::string& path, const std::string& bytes);
// A file of tests/audio/data.
std::string FixturePath(const std::string& name);

// A fresh folder under /tmp, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Write(const std::string& name, const std::string& bytes) const {
        return WriteFileBytes(Path(name), bytes);
    }
    std::string Path(const std::string& name) const { return path + "/" + name; }

    std::string path;
};

// --- Heap probes ----------------------------------------------------------------

// Counts the operator new calls this thread makes while the probe lives.
using AllocationProbe = AllocationCount;

// The largest single malloc, calloc or realloc request this thread makes
// while the probe lives (from this program or the libraries it calls).
// Not available under AddressSanitizer, which owns malloc; there Largest()
// stays 0.
class MallocProbe {
public:
    static bool Available();
    MallocProbe();
    ~MallocProbe();
    size_t Largest() const;
};

void SleepMs(int ms);

// Waits (polling) up to timeoutMs for ready() to hold; returns whether it did.
template <typename Ready>
bool WaitUntil(Ready ready, int timeoutMs = 3000) {
    for (int waited = 0; waited < timeoutMs; waited += 5) {
        if (ready()) return true;
        SleepMs(5);
    }
    return ready();
}
