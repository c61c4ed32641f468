#include "tests/graphics/graphics_fixtures.h"

#include <stb/stb_image_write.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/glfw2.h"
#include "host/graphics_seq.h"

PictureFolder::PictureFolder() {
    char name[] = "/tmp/zt-pictures-XXXXXX";
    path = mkdtemp(name) ? name : "/tmp";
}

PictureFolder::~PictureFolder() { std::filesystem::remove_all(path); }

std::string PictureFolder::WritePng(const std::string& name, int w, int h, int channels,
                                    const std::vector<uint8_t>& pixels) {
    std::string file = path + "/" + name;
    stbi_write_png(file.c_str(), w, h, channels, pixels.data(), w * channels);
    return file;
}

std::string PictureFolder::WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string file = path + "/" + name;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return file;
}

std::vector<uint8_t> PictureFolder::ReadBytes(const std::string& name) const {
    std::ifstream in(path + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

const std::vector<uint8_t> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

namespace {

uint32_t Crc32(const uint8_t* bytes, size_t length, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace

std::vector<uint8_t> PngChunk(const char type[4], const std::vector<uint8_t>& data) {
    std::vector<uint8_t> chunk;
    PutBigEndian32(chunk, static_cast<uint32_t>(data.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    PutBigEndian32(chunk, Crc32(chunk.data() + 4, chunk.size() - 4));
    return chunk;
}

std::vector<uint8_t> PngHeaderChunk(uint32_t width, uint32_t height) {
    std::vector<uint8_t> data;
    PutBigEndian32(data, width);
    PutBigEndian32(data, height);
    data.insert(data.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    return PngChunk("IHDR", data);
}

RecordedGraphics::RecordedGraphics() {
    host.dataFolder = pictures.path;
    glfwGraphicsSeq = 1;
    glapi::UseRecorder(&recorder);
    device = std::make_unique<gxtkGraphics>();
    graphics::SetGraphicsDevice(device.get());
    app::ValidateDeviceWindow();
}

RecordedGraphics::~RecordedGraphics() {
    graphics::InitModule();  // the context may hold surfaces: let them go while the table still logs
    device.reset();
    glapi::UseRecorder(nullptr);
    glfwGraphicsSeq = 0;
}

void RecordedGraphics::BeginFrame() {
    app::ValidateDeviceWindow();
    device->BeginRender();
    graphics::BeginRender();
}

void RecordedGraphics::EndFrame() {
    graphics::EndRender();
    device->EndRender();
}

std::vector<GlCall> RecordedGraphics::Draws() const {
    std::vector<GlCall> draws;
    for (const GlCall& call : recorder.calls)
        if (call.fn == GlFn::DrawArrays || call.fn == GlFn::DrawElements) draws.push_back(call);
    return draws;
}

RealWindow::RealWindow(int width, int height) : width(width), height(height) {
    const char* display = getenv("DISPLAY");
    if (!display || !*display || !glfw2::Init()) return;
    Reopen();
}

void RealWindow::Reopen() {
    available = glfw2::OpenWindow(width, height, 8, 8, 8, 0, 0, 0, glfw2::kWindow);
    glfwGraphicsSeq += 1;
    glapi::UseRealGL();
}

RealWindow::~RealWindow() {
    if (!available) return;
    glfw2::CloseWindow();
    glapi::UseRecorder(nullptr);
    glfwGraphicsSeq = 0;
}
