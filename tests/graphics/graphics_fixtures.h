// Shared pieces of the graphics tests.
//
//   PictureFolder pictures;                         // a temp folder, removed afterwards
//   pictures.WritePng("a.png", 2, 1, 4, {255,0,0,255, 0,0,255,128});
//   RecordedGraphics g;                             // FakeHost on that kind of folder,
//   g.device->DrawRect(...);  g.recorder.calls;     // a device drawing into a GlRecorder
//   RealWindow window(128, 96);                     // a real GL context (skip without DISPLAY)
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/gl_api.h"
#include "graphics/gl_recorder.h"
#include "graphics/graphics.h"
#include "tests/support/fake_host.h"

class PictureFolder {
public:
    PictureFolder();
    ~PictureFolder();
    // Writes a PNG of w x h pixels with `channels` bytes each; returns its path.
    std::string WritePng(const std::string& name, int w, int h, int channels, const std::vector<uint8_t>& pixels);
    std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> ReadBytes(const std::string& name) const;

    std::string path;
};

// A PNG made of raw chunks, for pictures no encoder would write.
std::vector<uint8_t> PngChunk(const char type[4], const std::vector<uint8_t>& data);
std::vector<uint8_t> PngHeaderChunk(uint32_t width, uint32_t height);
extern const std::vector<uint8_t> kPngSignature;

// A FakeHost whose data folder is a PictureFolder, and a device on it whose
// OpenGL calls go to `recorder`. "A context exists" (glfwGraphicsSeq 1).
struct RecordedGraphics {
    RecordedGraphics();
    ~RecordedGraphics();
    // device->BeginRender and graphics::BeginRender, as the game delegate does.
    void BeginFrame();
    void EndFrame();
    // The draw calls (glDrawArrays, glDrawElements) logged so far.
    std::vector<GlCall> Draws() const;

    FakeHost host;
    PictureFolder pictures;
    GlRecorder recorder;
    std::unique_ptr<gxtkGraphics> device;
};

// A window with its own OpenGL context, and the GL table on the real OpenGL.
// Tests must check `available` (false without an X display).
class RealWindow {
public:
    RealWindow(int width, int height);
    ~RealWindow();
    // Closes the window and opens a new one: a new context.
    void Reopen();

    bool available = false;
    int width, height;
};
