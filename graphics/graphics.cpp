#include "graphics/graphics.h"

#include <cmath>

#include "host/app.h"
#include "host/data.h"
#include "host/image_decode.h"

void GraphicsContext::Validate() {
    if (!matrixDirty) return;
    if (graphics::renderDevice) graphics::renderDevice->SetMatrix(a, b, c, d, tx, ty);
    matrixDirty = false;
}

namespace graphics {

gxtkGraphics* device = nullptr;
gxtkGraphics* renderDevice = nullptr;
GraphicsContext* context = nullptr;

void InitModule() {
    device = renderDevice = nullptr;
    delete context;
    context = new GraphicsContext();
}

void SetGraphicsDevice(gxtkGraphics* newDevice) { device = newDevice; }

// ---- images ------------------------------------------------------------

namespace {

std::shared_ptr<gxtkSurface> LoadSurface(const String& path) {
    if (!device) return nullptr;
    return device->LoadSurface(data::FixDataPath(path));
}

// A frame that the image has, or null.
const Frame* FrameOf(const Image& image, int frame) {
    if (frame < 0 || static_cast<size_t>(frame) >= image.frames.size()) return nullptr;
    return &image.frames[frame];
}

}  // namespace

std::shared_ptr<Image> LoadImage(const String& path, int frameCount, int flags) {
    std::shared_ptr<gxtkSurface> surface = LoadSurface(path);
    if (!surface) return nullptr;
    auto image = std::make_shared<Image>();
    image->Init(std::move(surface), frameCount, flags);
    return image;
}

std::shared_ptr<Image> LoadImage2(const String& path, int frameWidth, int frameHeight, int frameCount, int flags) {
    std::shared_ptr<gxtkSurface> surface = LoadSurface(path);
    if (!surface) return nullptr;
    const int surfaceWidth = surface->Width(), surfaceHeight = surface->Height();
    auto image = std::make_shared<Image>();
    image->Init2(std::move(surface), 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0, surfaceWidth,
                 surfaceHeight);
    return image;
}

std::shared_ptr<Image> CreateImage(int width, int height, int frameCount, int flags) {
    if (!device || frameCount < 1 || width > kMaxImageSide / frameCount) return nullptr;
    std::shared_ptr<gxtkSurface> surface = device->CreateSurface(width * frameCount, height);
    if (!surface) return nullptr;
    auto image = std::make_shared<Image>();
    image->Init(std::move(surface), frameCount, flags);
    return image;
}

void SetFont(std::shared_ptr<Image> font, int firstChar) {
    if (!font) {
        if (!context->defaultFont) context->defaultFont = LoadImage(u"vondo_font.png", 96, Image::PadX);
        font = context->defaultFont;
        firstChar = 32;
    }
    context->font = std::move(font);
    context->firstChar = firstChar;
}

// ---- render pass and state ----------------------------------------------

void BeginRender() {
    renderDevice = device;
    GraphicsContext& ctx = *context;
    ctx.matrixDepth = 0;
    ctx.a = 1, ctx.b = 0, ctx.c = 0, ctx.d = 1, ctx.tx = 0, ctx.ty = 0;
    ctx.matrixDirty = true;
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(0);
    SetScissor(0, 0, static_cast<float>(app::DeviceWidth()), static_cast<float>(app::DeviceHeight()));
}

void EndRender() { renderDevice = nullptr; }

void SetColor(float r, float g, float b) {
    context->red = r, context->green = g, context->blue = b;
    if (renderDevice) renderDevice->SetColor(r, g, b);
}

void SetAlpha(float alpha) {
    context->alpha = alpha;
    if (renderDevice) renderDevice->SetAlpha(alpha);
}

void SetBlend(int blend) {
    context->blend = blend;
    if (renderDevice) renderDevice->SetBlend(blend);
}

void SetScissor(float x, float y, float width, float height) {
    GraphicsContext& ctx = *context;
    ctx.scissorX = x, ctx.scissorY = y, ctx.scissorWidth = width, ctx.scissorHeight = height;
    if (renderDevice)
        renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                                 static_cast<int>(height));
}

// ---- matrix ------------------------------------------------------------

void SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    GraphicsContext& ctx = *context;
    ctx.a = a, ctx.b = b, ctx.c = c, ctx.d = d, ctx.tx = tx, ctx.ty = ty;
    ctx.matrixDirty = true;
}

void SetMatrix2(std::span<const float, 6> m) { SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]); }

void Transform(float a, float b, float c, float d, float tx, float ty) {
    const GraphicsContext& ctx = *context;
    SetMatrix(a * ctx.a + b * ctx.c, a * ctx.b + b * ctx.d, c * ctx.a + d * ctx.c, c * ctx.b + d * ctx.d,
              ctx.a * tx + ctx.c * ty + ctx.tx, ctx.b * tx + ctx.d * ty + ctx.ty);
}

void Transform2(std::span<const float, 6> m) { Transform(m[0], m[1], m[2], m[3], m[4], m[5]); }

void Translate(float x, float y) { Transform(1, 0, 0, 1, x, y); }
void Scale(float sx, float sy) { Transform(sx, 0, 0, sy, 0, 0); }

namespace {

// Degrees to a rotation, sine and cosine taken in double precision.
void TransformRotation(float angle) {
    const double theta = angle * D2R;
    const float cosine = static_cast<float>(std::cos(theta)), sine = static_cast<float>(std::sin(theta));
    Transform(cosine, -sine, sine, cosine, 0, 0);
}

}  // namespace

void Rotate(float angle) { TransformRotation(angle); }

void PushMatrix() {
    GraphicsContext& ctx = *context;
    if (ctx.matrixDepth == static_cast<int>(ctx.matrixStack.size())) ctx.matrixStack.resize(ctx.matrixStack.size() * 2);
    float* top = &ctx.matrixStack[ctx.matrixDepth];
    top[0] = ctx.a, top[1] = ctx.b, top[2] = ctx.c, top[3] = ctx.d, top[4] = ctx.tx, top[5] = ctx.ty;
    ctx.matrixDepth += 6;
}

void PopMatrix() {
    GraphicsContext& ctx = *context;
    if (ctx.matrixDepth < 6) return;
    ctx.matrixDepth -= 6;
    const float* top = &ctx.matrixStack[ctx.matrixDepth];
    SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}

// ---- drawing -----------------------------------------------------------

void DrawRect(float x, float y, float width, float height) {
    context->Validate();
    if (renderDevice) renderDevice->DrawRect(x, y, width, height);
}

void DrawLine(float x1, float y1, float x2, float y2) {
    context->Validate();
    if (renderDevice) renderDevice->DrawLine(x1, y1, x2, y2);
}

void DrawEllipse(float x, float y, float radiusX, float radiusY) {
    context->Validate();
    if (renderDevice) renderDevice->DrawOval(x - radiusX, y - radiusY, radiusX * 2, radiusY * 2);
}

void DrawPoly(std::span<const float> vertices) {
    context->Validate();
    if (renderDevice) renderDevice->DrawPoly(vertices);
}

void DrawPoly2(std::span<const float> vertices, const Image* image, int frame) {
    context->Validate();
    const Frame* cell = image ? FrameOf(*image, frame) : nullptr;
    if (renderDevice && cell) renderDevice->DrawPoly2(vertices, image->surface.get(), cell->x, cell->y);
}

namespace {

// The frame's quad with its top-left corner at (x, y) under the device's matrix.
void DrawFrameAt(const Image& image, float x, float y, int frame) {
    if (!renderDevice || !image.surface) return;
    if (image.flags & Image::WholeSurface) {
        renderDevice->DrawSurface(image.surface.get(), x, y);
        return;
    }
    const Frame* cell = FrameOf(image, frame);
    if (cell) renderDevice->DrawSurface2(image.surface.get(), x, y, cell->x, cell->y, image.width, image.height);
}

}  // namespace

void DrawImage(const Image* image, float x, float y, int frame) {
    context->Validate();
    if (image) DrawFrameAt(*image, x - image->handleX, y - image->handleY, frame);
}

void DrawImage2(const Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame) {
    if (!image) return;
    PushMatrix();
    Transform(1, 0, 0, 1, x, y);
    TransformRotation(rotation);
    Transform(scaleX, 0, 0, scaleY, 0, 0);
    Transform(1, 0, 0, 1, -image->handleX, -image->handleY);
    context->Validate();
    DrawFrameAt(*image, 0, 0, frame);
    PopMatrix();
}

}  // namespace graphics
