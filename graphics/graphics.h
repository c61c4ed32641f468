// The graphics module: the drawing interface the game sees. Free functions
// over one GraphicsContext (matrix and matrix stack, colour, alpha, blend,
// scissor, font) and the graphics device.
//
//   graphics::InitModule();                  // at start (qvInit): no device, fresh context
//   graphics::SetGraphicsDevice(new gxtkGraphics());
//   auto ship = graphics::LoadImage2(u"ship.png", 32, 32, 8, Image::CentreHandle);
//
//   // each frame (the game delegate does the pass around the render hook):
//   device->BeginRender();  graphics::BeginRender();
//   graphics::SetColor(255, 0, 0);  graphics::SetAlpha(0.5f);  graphics::SetBlend(1);
//   graphics::DrawRect(10, 10, 100, 20);
//   graphics::DrawImage2(ship.get(), 320, 240, 45, 2, 2, 0);   // rotated and scaled about its handle
//   graphics::PushMatrix();  graphics::Translate(5, 0);  ...;  graphics::PopMatrix();
//   graphics::EndRender();  device->EndRender();
//
// State calls go to the device at once; the matrix reaches it only when
// something is drawn (GraphicsContext::Validate). Every pass starts from the
// identity matrix, white, alpha 1, alpha blending and no scissor. State and
// drawing calls made outside a pass only change the context. Angles are
// degrees; with y down a positive rotation turns counter-clockwise on screen.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "graphics/gxtk_graphics.h"
#include "graphics/image.h"
#include "host/qvstring.h"

// Degrees to radians, in single precision.
inline constexpr float D2R = 0.017453292f;

class GraphicsContext {
public:
    GraphicsContext() : matrixStack(kInitialStackFloats) {}

    // Hands the matrix to the render device if it changed since.
    void Validate();

    static constexpr int kInitialStackFloats = 192;  // 32 matrices of six floats

    std::shared_ptr<Image> defaultFont;
    std::shared_ptr<Image> font;
    int32_t firstChar = 0;
    int32_t matrixDepth = 0;  // floats in use on matrixStack
    float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool matrixDirty = false;
    float red = 0, green = 0, blue = 0;
    float alpha = 0;
    int32_t blend = 0;
    float scissorX = 0, scissorY = 0, scissorWidth = 0, scissorHeight = 0;
    std::vector<float> matrixStack;
};

namespace graphics {

extern gxtkGraphics* device;        // set once at start
extern gxtkGraphics* renderDevice;  // the device during a render pass, else null
extern GraphicsContext* context;

// Resets the module: no device, a new context.
void InitModule();
void SetGraphicsDevice(gxtkGraphics* newDevice);

// Pictures from the data folder ("ship.png" means tarvik://data/ship.png).
// Null when the file is missing or not a picture.
std::shared_ptr<Image> LoadImage(const String& path, int frameCount, int flags);
// A grid of frameWidth x frameHeight cells over the whole picture.
std::shared_ptr<Image> LoadImage2(const String& path, int frameWidth, int frameHeight, int frameCount, int flags);
// A blank RGBA image of frameCount frames of width x height; null for a size
// no texture can have.
std::shared_ptr<Image> CreateImage(int width, int height, int frameCount, int flags);
// A null font selects the default font "vondo_font.png" (loaded on first use;
// when it cannot be loaded the context has no font) with first character 32.
void SetFont(std::shared_ptr<Image> font, int firstChar);

void BeginRender();
void EndRender();

void SetColor(float r, float g, float b);
void SetAlpha(float alpha);
void SetBlend(int blend);  // 0 alpha blending, 1 additive
void SetScissor(float x, float y, float width, float height);

// (x, y) is drawn at (x*a + y*c + tx, x*b + y*d + ty).
void SetMatrix(float a, float b, float c, float d, float tx, float ty);
void SetMatrix2(std::span<const float, 6> m);
// Multiplies a matrix onto the current one so that it applies first.
void Transform(float a, float b, float c, float d, float tx, float ty);
void Transform2(std::span<const float, 6> m);
void Translate(float x, float y);
void Scale(float sx, float sy);
void Rotate(float angle);
void PushMatrix();
// A pop without a matching push does nothing.
void PopMatrix();

void DrawRect(float x, float y, float width, float height);
void DrawLine(float x1, float y1, float x2, float y2);
// Centre and radii.
void DrawEllipse(float x, float y, float radiusX, float radiusY);
// Floats x0, y0, x1, y1, ...
void DrawPoly(std::span<const float> vertices);
inline void DrawPoly(const float* vertices, int count) { DrawPoly(std::span<const float>(vertices, count)); }
// Floats x, y, u, v per vertex, u and v in pixels of the frame.
void DrawPoly2(std::span<const float> vertices, const Image* image, int frame);
// A null image, or a frame the image does not have, draws nothing.
// The frame with its handle at (x, y).
void DrawImage(const Image* image, float x, float y, int frame);
// The frame with its handle at (x, y), turned by rotation degrees and scaled about the handle.
void DrawImage2(const Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame);

}  // namespace graphics
