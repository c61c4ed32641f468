// A picture held for the graphics device: its pixels in memory, premultiplied
// by alpha, and an OpenGL texture made from them. The pixel copy stays for the
// surface's whole life, so the texture can be made again whenever the host
// opens a new window (a new OpenGL context): `glfwGraphicsSeq` tells which
// context a texture belongs to.
//
//   std::unique_ptr<gxtkSurface> s = device->LoadSurface(u"tarvik://data/ship.png");  // or null
//   s->Width();  s->Height();
//   s->Bind();     // current texture; made first if this context has none yet
//   s->Discard();  // texture and pixel copy go (also done on destruction)
//
// Surfaces are made by gxtkGraphics (LoadSurface, CreateSurface); images
// (graphics/image.h) cut them into frames. Nothing is bound while no context
// exists (glfwGraphicsSeq 0): the texture is made at the first draw after.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <span>

class gxtkSurface {
public:
    gxtkSurface() = default;
    gxtkSurface(const gxtkSurface&) = delete;
    gxtkSurface& operator=(const gxtkSurface&) = delete;
    virtual ~gxtkSurface();

    virtual void Discard();
    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual bool Loaded() { return true; }
    virtual void OnUnsafeLoadComplete() { Bind(); }

    // Takes ownership of a malloc'd buffer of width x height x depth bytes
    // (rows top to bottom) and premultiplies it in place.
    void SetData(unsigned char* newPixels, int newWidth, int newHeight, int newDepth);
    // RGBA surfaces only: writes ints A<<24|R<<16|G<<8|B (row i at src[i * pitch])
    // into the rectangle at (x, y), premultiplied. A rectangle reaching outside
    // the surface, or a source too short for it, writes nothing.
    void SetSubData(int x, int y, int w, int h, std::span<const int> src, int pitch);
    void Bind();

    unsigned char* pixels = nullptr;  // premultiplied, rows of width * depth bytes; malloc'd
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;  // bytes per pixel, 1 to 4
    GLenum format = 0;  // GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA by depth
    int32_t textureSeq = -1;  // glfwGraphicsSeq when the texture was made; -1 none
    GLuint texture = 0;
    float uScale = 0;  // 1 / texture width (the texture may be larger than the picture)
    float vScale = 0;

private:
    void MakeTexture();
    void UploadRect(int x, int y, int w, int h);
};

// The OpenGL format for a number of bytes per pixel (0 when there is none).
GLenum FormatForDepth(int depth);
// Multiplies colour by alpha in place: depth 2 (grey, alpha) and 4 (RGBA);
// depths 1 and 3 have no alpha and stay as they are.
void PremultiplyPixels(unsigned char* pixels, int width, int height, int depth);
