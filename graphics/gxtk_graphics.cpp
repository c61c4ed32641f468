#include "graphics/gxtk_graphics.h"

#include <cmath>
#include <vector>

#include "graphics/gl_api.h"
#include "host/image_decode.h"
#include "host/qvgame.h"

using glapi::gl;

gxtkGraphics* gxtkGraphics::current = nullptr;

gxtkGraphics::gxtkGraphics() {
    ReadWindowSize();
    for (int q = 0; q < kMaxQuads; ++q) {
        const uint16_t v = static_cast<uint16_t>(q * 4);
        const uint16_t quad[6] = {v, static_cast<uint16_t>(v + 1), static_cast<uint16_t>(v + 2),
                                  v, static_cast<uint16_t>(v + 2), static_cast<uint16_t>(v + 3)};
        for (int i = 0; i < 6; ++i) quadIndices[q * 6 + i] = quad[i];
    }
    current = this;
}

gxtkGraphics::~gxtkGraphics() {
    if (current == this) current = nullptr;
}

void gxtkGraphics::ReadWindowSize() {
    width = height = 0;
    if (!QvGame::_game) return;
    width = QvGame::_game->GetDeviceWidth();
    height = QvGame::_game->GetDeviceHeight();
}

void gxtkGraphics::ForgetSurface(gxtkSurface* surface) {
    if (!current || current->batchSurface != surface) return;
    current->Flush();
    current->batchSurface = nullptr;
}

// ---- frame -------------------------------------------------------------

int gxtkGraphics::BeginRender() {
    ReadWindowSize();
    gl.Viewport(0, 0, width, height);
    gl.MatrixMode(GL_PROJECTION);
    gl.LoadIdentity();
    gl.Ortho(0, width, height, 0, -1, 1);
    gl.MatrixMode(GL_MODELVIEW);
    gl.LoadIdentity();
    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.VertexPointer(2, GL_FLOAT, sizeof(BatchVertex), &vertices[0].x);
    gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.TexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &vertices[0].u);
    gl.EnableClientState(GL_COLOR_ARRAY);
    gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(BatchVertex), &vertices[0].color);
    gl.Enable(GL_BLEND);
    gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    blendMode = 0;
    gl.Disable(GL_TEXTURE_2D);
    batchCount = 0;
    return 1;
}

void gxtkGraphics::EndRender() {
    if (batchCount > 0) Flush();
}

// ---- batch -------------------------------------------------------------

BatchVertex* gxtkGraphics::Begin(int kind, int n, gxtkSurface* surface) {
    if (kind != batchKind || surface != batchSurface || batchCount + n > kMaxVertices) {
        if (batchCount > 0) Flush();
        batchKind = kind;
        batchSurface = surface;
    }
    BatchVertex* start = &vertices[batchCount];
    batchCount += n;
    return start;
}

void gxtkGraphics::Flush() {
    if (batchCount == 0) return;
    if (batchSurface) {
        gl.Enable(GL_TEXTURE_2D);
        batchSurface->Bind();
    }
    switch (batchKind) {
        case kPoints: gl.DrawArrays(GL_POINTS, 0, batchCount); break;
        case kLines: gl.DrawArrays(GL_LINES, 0, batchCount); break;
        case kTriangles: gl.DrawArrays(GL_TRIANGLES, 0, batchCount); break;
        case kQuads: gl.DrawElements(GL_TRIANGLES, batchCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices); break;
        default:
            for (int first = 0; first < batchCount; first += batchKind) gl.DrawArrays(GL_TRIANGLE_FAN, first, batchKind);
            break;
    }
    if (batchSurface) gl.Disable(GL_TEXTURE_2D);
    batchCount = 0;
}

// ---- state -------------------------------------------------------------

void gxtkGraphics::UpdatePackedColor() {
    // Truncated, and held to a byte so that a colour out of range (or NaN)
    // cannot spill into its neighbours.
    auto byte = [](float value) -> uint32_t { return value > 0 ? (value < 255 ? static_cast<uint32_t>(value) : 255) : 0; };
    packedColor = byte(255 * alpha) << 24 | byte(blue * alpha) << 16 | byte(green * alpha) << 8 | byte(red * alpha);
}

void gxtkGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    gl.ClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    gl.Clear(GL_COLOR_BUFFER_BIT);
}

void gxtkGraphics::SetAlpha(float newAlpha) {
    alpha = newAlpha;
    UpdatePackedColor();
}

void gxtkGraphics::SetColor(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
    UpdatePackedColor();
}

void gxtkGraphics::SetBlend(int blend) {
    // Only a change of mode splits the batch.
    const int mode = blend == 1 ? 1 : 0;
    if (mode == blendMode) return;
    blendMode = mode;
    if (batchCount > 0) Flush();
    if (mode == 1) {
        gl.BlendFunc(GL_ONE, GL_ONE);
    } else {
        gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
}

void gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    if (batchCount > 0) Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        gl.Disable(GL_SCISSOR_TEST);
    } else {
        gl.Enable(GL_SCISSOR_TEST);
        gl.Scissor(x, Height() - y - h, w, h);
    }
}

void gxtkGraphics::SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty) {
    a = ma, b = mb, c = mc, d = md, tx = mtx, ty = mty;
    hasTransform = !(a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0);
}

// ---- drawing -----------------------------------------------------------

void gxtkGraphics::DrawPoint(float x, float y) {
    BatchVertex* v = Begin(kPoints, 1, nullptr);
    Put(v, x, y);
    v->x += 0.5f, v->y += 0.5f;
}

void gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    BatchVertex* v = Begin(kLines, 2, nullptr);
    Put(v, x1, y1);
    Put(v + 1, x2, y2);
    for (int i = 0; i < 2; ++i) v[i].x += 0.5f, v[i].y += 0.5f;
}

// An opaque rectangle over the whole window under alpha blending leaves
// exactly its own colour in every pixel, as a clear to that colour does. A
// software rasteriser fills a clear far faster than it blends a quad, and the
// game starts every frame with such a rectangle, its background.
bool gxtkGraphics::CoversWindowOpaquely(float x, float y, float w, float h) const {
    return blendMode == 0 && packedColor >> 24 == 255 && !hasTransform && x <= 0 && y <= 0 && x + w >= width &&
           y + h >= height;
}

void gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    if (CoversWindowOpaquely(x, y, w, h)) {
        // The colour as the rectangle's vertices would carry it, byte for
        // byte; whatever the batch holds lies under the rectangle, and Cls
        // drops it.
        const uint32_t c = packedColor;
        Cls(static_cast<float>(c & 255), static_cast<float>(c >> 8 & 255), static_cast<float>(c >> 16 & 255));
        return;
    }
    BatchVertex* v = Begin(kQuads, 4, nullptr);
    Put(v, x, y);
    Put(v + 1, x + w, y);
    Put(v + 2, x + w, y + h);
    Put(v + 3, x, y + h);
}

namespace {

// Segments for an ellipse of radii xr, yr as they appear on screen: about one
// per pixel of the two radii, a multiple of 4, from 12 to 1024.
int OvalSegments(float xr, float yr, float a, float b, float c, float d, bool transformed) {
    float m = transformed ? std::sqrt((xr * a) * (xr * a) + (xr * b) * (xr * b)) +
                                std::sqrt((yr * c) * (yr * c) + (yr * d) * (yr * d))
                          : std::fabs(std::trunc(xr)) + std::fabs(std::trunc(yr));
    // Compared as floats first: a huge or NaN size must not reach an int.
    if (!(m <= 1024.0f)) return 1024;
    if (m < 12.0f) return 12;
    return static_cast<int>(m) & ~3;
}

}  // namespace

void gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    const float xr = w * 0.5f, yr = h * 0.5f;
    const float cx = x + xr, cy = y + yr;
    const int n = OvalSegments(xr, yr, a, b, c, d, hasTransform);
    BatchVertex* v = Begin(n, n, nullptr);
    const float step = 6.2831855f / static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        const float theta = static_cast<float>(i) * step;
        Put(v + i, cx + xr * std::cos(theta), cy - yr * std::sin(theta));
    }
}

void gxtkGraphics::DrawPoly(std::span<const float> xy) {
    const size_t n = xy.size() / 2;
    if (n < 1 || n > kMaxVertices) return;
    BatchVertex* v = Begin(static_cast<int>(n), static_cast<int>(n), nullptr);
    for (size_t i = 0; i < n; ++i) Put(v + i, xy[i * 2], xy[i * 2 + 1]);
}

void gxtkGraphics::DrawPoly2(std::span<const float> xyuv, gxtkSurface* surface, int srcX, int srcY) {
    const size_t n = xyuv.size() / 4;
    if (n < 1 || n > kMaxVertices || !surface) return;
    BatchVertex* v = Begin(static_cast<int>(n), static_cast<int>(n), surface);
    const float u0 = static_cast<float>(srcX), v0 = static_cast<float>(srcY);
    for (size_t i = 0; i < n; ++i) {
        const float* p = &xyuv[i * 4];
        PutTextured(v + i, p[0], p[1], (u0 + p[2]) * surface->uScale, (v0 + p[3]) * surface->vScale);
    }
}

void gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface) return;
    const float w = static_cast<float>(surface->Width()), h = static_cast<float>(surface->Height());
    const float u1 = w * surface->uScale, v1 = h * surface->vScale;
    BatchVertex* v = Begin(kQuads, 4, surface);
    PutTextured(v, x, y, 0, 0);
    PutTextured(v + 1, x + w, y, u1, 0);
    PutTextured(v + 2, x + w, y + h, u1, v1);
    PutTextured(v + 3, x, y + h, 0, v1);
}

void gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH) {
    if (!surface) return;
    const float w = static_cast<float>(srcW), h = static_cast<float>(srcH);
    const float u0 = static_cast<float>(srcX) * surface->uScale, v0 = static_cast<float>(srcY) * surface->vScale;
    const float u1 = static_cast<float>(srcX + srcW) * surface->uScale;
    const float v1 = static_cast<float>(srcY + srcH) * surface->vScale;
    BatchVertex* v = Begin(kQuads, 4, surface);
    PutTextured(v, x, y, u0, v0);
    PutTextured(v + 1, x + w, y, u1, v0);
    PutTextured(v + 2, x + w, y + h, u1, v1);
    PutTextured(v + 3, x, y + h, u0, v1);
}

// ---- pixels ------------------------------------------------------------

namespace {

// Whether rows of w ints, h of them, pitch apart from offset, fit in size.
bool RectFits(size_t size, int w, int h, int offset, int pitch) {
    if (w <= 0 || h <= 0 || offset < 0 || pitch < 0) return false;
    return static_cast<long long>(offset) + static_cast<long long>(h - 1) * pitch + w <= static_cast<long long>(size);
}

}  // namespace

void gxtkGraphics::ReadPixels(std::span<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    if (!RectFits(pixels.size(), w, h, offset, pitch)) return;
    if (batchCount > 0) Flush();
    std::vector<uint32_t> rows(static_cast<size_t>(w) * h);
    gl.ReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    // OpenGL's rows run bottom to top.
    for (int i = 0; i < h; ++i) {
        const uint32_t* from = &rows[static_cast<size_t>(h - 1 - i) * w];
        int* to = &pixels[static_cast<size_t>(offset) + static_cast<size_t>(i) * pitch];
        for (int j = 0; j < w; ++j) to[j] = static_cast<int>(from[j]);
    }
}

void gxtkGraphics::WritePixels2(gxtkSurface* surface, std::span<const int> pixels, int x, int y, int w, int h,
                                int offset, int pitch) {
    if (!surface || !RectFits(pixels.size(), w, h, offset, pitch)) return;
    surface->SetSubData(x, y, w, h, pixels.subspan(offset), pitch);
}

// ---- surfaces ----------------------------------------------------------

std::unique_ptr<gxtkSurface> gxtkGraphics::LoadSurface(const String& path) {
    auto surface = std::make_unique<gxtkSurface>();
    if (!LoadSurface__UNSAFE__(surface.get(), path)) return nullptr;
    surface->Bind();
    return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) {
    if (!QvGame::_game) return false;
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = QvGame::_game->LoadImageData(path, &w, &h, &depth);
    if (!pixels) return false;
    surface->SetData(pixels, w, h, depth);
    return true;
}

std::unique_ptr<gxtkSurface> gxtkGraphics::CreateSurface(int w, int h) {
    // The same bound as for decoded pictures: no texture a driver would refuse.
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return nullptr;
    auto surface = std::make_unique<gxtkSurface>();
    surface->width = w;
    surface->height = h;
    surface->depth = 4;
    surface->format = GL_RGBA;
    surface->Bind();
    return surface;
}
