// The graphics device: the only thing that draws with OpenGL (1.1 fixed
// function, client-side vertex arrays). Coordinates are window pixels, y down.
//
//   gxtkGraphics* device = new gxtkGraphics();   // reads the window size from the host
//   device->BeginRender();                       // the whole GL state, every frame
//   device->SetColor(255, 128, 0);  device->SetAlpha(0.5f);
//   device->SetMatrix(2, 0, 0, 2, 10, 10);       // applied to vertices on the CPU
//   device->DrawRect(0, 0, 16, 16);
//   device->DrawSurface2(surface, x, y, srcX, srcY, w, h);
//   device->EndRender();                         // draws what is left; the host swaps
//
// Every draw call transforms its vertices with the current matrix and appends
// them, with the premultiplied colour, to one batch of 1024 vertices. The
// batch goes to OpenGL in one call when the kind of primitive or the texture
// changes, when it is full, when SetBlend changes the blend mode, and on
// SetScissor, ReadPixels and EndRender. Changing colour, alpha or matrix, or
// setting the blend mode already in force, costs nothing: the game's replay
// sets the blend before every command. A DrawRect over the whole window in an
// opaque colour under alpha blending becomes a clear to that colour: the same
// pixels for much less work. No draw call allocates.
//
// The game draws through the graphics module (graphics/graphics.h), which
// keeps the matrix stack and hands this device the matrix lazily.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "graphics/gxtk_surface.h"
#include "host/qvstring.h"

// One vertex of the batch, 20 bytes: the stride OpenGL is given.
struct BatchVertex {
    float x, y;
    float u, v;      // untextured primitives leave these as they were
    uint32_t color;  // R, G, B, A bytes in memory (premultiplied)
};
static_assert(sizeof(BatchVertex) == 20);

class gxtkGraphics {
public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = kMaxVertices / 4;

    // Primitive kinds of a batch (any n >= 5: convex polygons of n vertices).
    enum BatchKind { kPoints = 1, kLines = 2, kTriangles = 3, kQuads = 4 };

    gxtkGraphics();
    gxtkGraphics(const gxtkGraphics&) = delete;
    gxtkGraphics& operator=(const gxtkGraphics&) = delete;
    virtual ~gxtkGraphics();

    virtual int Width() { return width; }
    virtual int Height() { return height; }
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics() {}

    virtual std::unique_ptr<gxtkSurface> LoadSurface(const String& path);
    virtual std::unique_ptr<gxtkSurface> CreateSurface(int w, int h);
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path);

    virtual void Cls(float r, float g, float b);
    virtual void SetAlpha(float newAlpha);
    virtual void SetColor(float r, float g, float b);
    virtual void SetBlend(int blend);
    virtual void SetScissor(int x, int y, int w, int h);
    virtual void SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty);

    virtual void DrawPoint(float x, float y);
    virtual void DrawRect(float x, float y, float w, float h);
    virtual void DrawLine(float x1, float y1, float x2, float y2);
    virtual void DrawOval(float x, float y, float w, float h);
    // Floats x0, y0, x1, y1, ...; nothing is drawn unless 1 to 1024 vertices.
    virtual void DrawPoly(std::span<const float> xy);
    // Floats x, y, u, v per vertex, u and v in pixels from (srcX, srcY).
    virtual void DrawPoly2(std::span<const float> xyuv, gxtkSurface* surface, int srcX, int srcY);
    virtual void DrawSurface(gxtkSurface* surface, float x, float y);
    virtual void DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH);

    // Reads the w x h rectangle at (x, y) of the frame buffer: row i (0 = top)
    // starts at pixels[offset + i * pitch], each int A<<24|R<<16|G<<8|B. A
    // rectangle that does not fit in `pixels` reads nothing.
    virtual void ReadPixels(std::span<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    virtual void WritePixels2(gxtkSurface* surface, std::span<const int> pixels, int x, int y, int w, int h,
                              int offset, int pitch);

    // Reserves n vertices of a kind and texture, flushing first when the open
    // batch cannot take them; returns where to write them.
    BatchVertex* Begin(int kind, int n, gxtkSurface* surface);
    // Draws the open batch, if any.
    void Flush();

    // Called when a surface goes away: a batch still using it is drawn now,
    // while its texture exists.
    static void ForgetSurface(gxtkSurface* surface);

    int32_t width = 0;
    int32_t height = 0;
    uint32_t packedColor = 0;
    float red = 0, green = 0, blue = 0;
    float alpha = 0;
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool hasTransform = false;
    BatchVertex vertices[kMaxVertices];
    uint16_t quadIndices[kMaxQuads * 6];
    int32_t batchKind = 0;
    int32_t batchCount = 0;
    gxtkSurface* batchSurface = nullptr;
    int32_t blendMode = 0;  // in force since BeginRender: 1 additive, 0 alpha blending

private:
    // Whether DrawRect of this rectangle may be a clear (same pixels, less work).
    bool CoversWindowOpaquely(float x, float y, float w, float h) const;
    void UpdatePackedColor();
    void ReadWindowSize();
    // Writes a vertex at T(x, y) with the current colour.
    void Put(BatchVertex* v, float x, float y) {
        if (hasTransform) {
            v->x = x * a + y * c + tx;
            v->y = x * b + y * d + ty;
        } else {
            v->x = x;
            v->y = y;
        }
        v->color = packedColor;
    }
    void PutTextured(BatchVertex* v, float x, float y, float u, float texV) {
        Put(v, x, y);
        v->u = u;
        v->v = texV;
    }

    static gxtkGraphics* current;  // the newest device, for ForgetSurface
};
