#include "graphics/gxtk_surface.h"

#include <cstdlib>

#include "graphics/gl_api.h"
#include "graphics/gxtk_graphics.h"
#include "host/graphics_seq.h"

using glapi::gl;

GLenum FormatForDepth(int depth) {
    switch (depth) {
        case 1: return GL_LUMINANCE;
        case 2: return GL_LUMINANCE_ALPHA;
        case 3: return GL_RGB;
        case 4: return GL_RGBA;
        default: return 0;
    }
}

void PremultiplyPixels(unsigned char* pixels, int width, int height, int depth) {
    if (depth != 2 && depth != 4) return;
    size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i) {
        unsigned char* p = pixels + i * depth;
        unsigned alpha = p[depth - 1];
        for (int c = 0; c < depth - 1; ++c) p[c] = static_cast<unsigned char>(p[c] * alpha / 255);
    }
}

namespace {

int PowerOfTwoAtLeast(int size) {
    int power = 1;
    while (power < size) power *= 2;
    return power;
}

}  // namespace

gxtkSurface::~gxtkSurface() { Discard(); }

void gxtkSurface::Discard() {
    // The device may still hold undrawn vertices that use this texture.
    gxtkGraphics::ForgetSurface(this);
    if (textureSeq == glfwGraphicsSeq && glfwGraphicsSeq != 0) {
        gl.DeleteTextures(1, &texture);
        textureSeq = -1;
    }
    free(pixels);
    pixels = nullptr;
}

void gxtkSurface::SetData(unsigned char* newPixels, int newWidth, int newHeight, int newDepth) {
    free(pixels);
    pixels = newPixels;
    width = newWidth;
    height = newHeight;
    depth = newDepth;
    format = FormatForDepth(newDepth);
    PremultiplyPixels(pixels, width, height, depth);
}

void gxtkSurface::Bind() {
    if (glfwGraphicsSeq == 0) return;
    if (textureSeq == glfwGraphicsSeq) {
        gl.BindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    MakeTexture();
}

void gxtkSurface::MakeTexture() {
    textureSeq = glfwGraphicsSeq;
    gl.GenTextures(1, &texture);
    gl.BindTexture(GL_TEXTURE_2D, texture);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    int textureWidth = width, textureHeight = height;
    gl.TexImage2D(GL_TEXTURE_2D, 0, format, textureWidth, textureHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
    if (gl.GetError() != GL_NO_ERROR) {
        // Drivers without non-power-of-two textures: a larger texture, of
        // which only the picture's corner is ever sampled.
        textureWidth = PowerOfTwoAtLeast(width);
        textureHeight = PowerOfTwoAtLeast(height);
        gl.TexImage2D(GL_TEXTURE_2D, 0, format, textureWidth, textureHeight, 0, format, GL_UNSIGNED_BYTE, nullptr);
    }
    uScale = 1.0f / static_cast<float>(textureWidth);
    vScale = 1.0f / static_cast<float>(textureHeight);
    if (pixels) {
        gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);
    }
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, std::span<const int> src, int pitch) {
    if (format != GL_RGBA) return;
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || w > width - x || h > height - y || pitch < 0) return;
    if (static_cast<long long>(h - 1) * pitch + w > static_cast<long long>(src.size())) return;
    if (!pixels) {
        pixels = static_cast<unsigned char*>(calloc(static_cast<size_t>(width) * height, 4));
        if (!pixels) return;
    }
    for (int row = 0; row < h; ++row) {
        const int* in = src.data() + static_cast<size_t>(row) * pitch;
        unsigned char* out = pixels + (static_cast<size_t>(y + row) * width + x) * 4;
        for (int column = 0; column < w; ++column, out += 4) {
            uint32_t argb = static_cast<uint32_t>(in[column]);
            unsigned alpha = argb >> 24;
            out[0] = static_cast<unsigned char>(((argb >> 16) & 255) * alpha / 255);
            out[1] = static_cast<unsigned char>(((argb >> 8) & 255) * alpha / 255);
            out[2] = static_cast<unsigned char>((argb & 255) * alpha / 255);
            out[3] = static_cast<unsigned char>(alpha);
        }
    }
    if (textureSeq == glfwGraphicsSeq && glfwGraphicsSeq != 0) UploadRect(x, y, w, h);
}

void gxtkSurface::UploadRect(int x, int y, int w, int h) {
    gl.BindTexture(GL_TEXTURE_2D, texture);
    gl.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (w == width) {
        gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, format, GL_UNSIGNED_BYTE,
                         pixels + static_cast<size_t>(y) * width * 4);
        return;
    }
    for (int row = 0; row < h; ++row) {
        gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y + row, w, 1, format, GL_UNSIGNED_BYTE,
                         pixels + (static_cast<size_t>(y + row) * width + x) * 4);
    }
}
