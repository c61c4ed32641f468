// The display list: drawing calls made during a tick record 15-float commands
// in virtual pixels; OnRender fits the virtual screen to the window and plays
// the commands back through the graphics module.
#include <algorithm>
#include <cstdint>

#include "graphics/graphics.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"

namespace {

// Command fields (element numbers within a command).
constexpr int kCode = 0, kX = 1, kY = 2, kAlpha = 7, kRed = 10, kGreen = 11, kBlue = 12, kBlend = 13;
constexpr float kAdditive = 3.0f;

// Colour factors (red, green, blue) of the Ink presets 0..9; 0 is "any other".
constexpr float kInkFactors[10][3] = {
    {0.3f, 0.3f, 0.3f}, {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f}, {0.1f, 1.0f, 0.1f},
    {0.1f, 1.0f, 1.0f}, {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f}, {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f},
};

float EaseTowards(float value, float target) { return value - (value - target) * 0.125f; }

// One wheel channel: below 0 off, above 2 full, between a ramp.
float WheelChannel(float value) {
    if (value < 0) return 0;
    if (value > 2) return 255;
    return value * 127.5f;
}

}  // namespace

void MyApp::ResetDraw() {
    drawScaleX = drawScaleY = 1;
    drawRotation = 0;
    drawR = drawG = drawB = 255;
    drawAlpha = 1;
    drawBlend = 1;
}

void MyApp::CLS2D(float r, float g, float b, float a) {
    backR = r;
    backG = g;
    backB = b;
    backAlpha = a;
    ResetDraw();
    drawLength = 0;
}

void MyApp::DoBG(int r, int g, int b, float a) {
    // A component below -122 keeps its previous target.
    if (r >= -122) bgTargetR = static_cast<float>(r);
    if (g >= -122) bgTargetG = static_cast<float>(g);
    if (b >= -122) bgTargetB = static_cast<float>(b);
    bgR = EaseTowards(bgR, bgTargetR);
    bgG = EaseTowards(bgG, bgTargetG);
    bgB = EaseTowards(bgB, bgTargetB);
    float alpha = a == -123.0f ? 1.0f : std::clamp(a, 0.0f, 1.0f);
    CLS2D(bgR, bgG, bgB, alpha);
}

void MyApp::SetSize(float sx, float sy) {
    drawScaleX = sx;
    drawScaleY = sy > kNoArg ? sy : sx;
}

void MyApp::Alpha(float a) { drawAlpha = a; }

void MyApp::SetCol(float r, float g, float b, float a) {
    drawR = r;
    drawG = g;
    drawB = b;
    if (a > kNoArg) drawAlpha = a;
}

void MyApp::SetRot(float angle) { drawRotation = -angle; }

void MyApp::Ink(int type, float brightness) {
    const float* factors = kInkFactors[type >= 1 && type <= 9 ? type : 0];
    auto channel = [&](float factor) { return std::clamp(brightness * factor * 255.0f, 0.0f, 255.0f); };
    drawR = channel(factors[0]);
    drawG = channel(factors[1]);
    drawB = channel(factors[2]);
}

void MyApp::RotInk(float angle, float amount, float base) {
    float e = 120.0f - angle;
    drawR = WheelChannel(base + amount * SinDeg(e));
    drawG = WheelChannel(base + amount * SinDeg(e + 120.0f));
    drawB = WheelChannel(base + amount * SinDeg(e + 240.0f));
}

void MyApp::AppendCommand(float code, float e1, float e2, float e3, float e4, float e5, float e6) {
    // A full list drops the command silently: at most 2499 commands a frame.
    if (drawLength > kLastCommandStart) return;
    float* command = drawList + drawLength;
    command[kCode] = code;
    command[kX] = e1;
    command[kY] = e2;
    command[3] = e3;
    command[4] = e4;
    command[5] = e5;
    command[6] = e6;
    command[kAlpha] = drawAlpha;
    command[kRed] = drawR;
    command[kGreen] = drawG;
    command[kBlue] = drawB;
    command[kBlend] = static_cast<float>(drawBlend);
    drawLength += kCommandFloats;
}

void MyApp::DrawImg(int bank, float x, float y, float frame) {
    AppendCommand(static_cast<float>(bank), x, y, drawRotation, drawScaleX, drawScaleY, frame);
}

void MyApp::Rect(float x, float y, float w, float h) { AppendCommand(kCodeRect, x, y, drawRotation, w, h, 0); }

void MyApp::Oval(float x, float y, float rx, float ry) { AppendCommand(kCodeOval, x, y, drawRotation, rx, ry, 0); }

void MyApp::Line(float x1, float y1, float x2, float y2) {
    AppendCommand(kCodeLine, x1, y1, drawRotation, x2, y2, 0);
}

void MyApp::Tri(float x1, float y1, float x2, float y2, float x3, float y3) {
    if (x1 > x2 || x3 > x2) {
        AppendCommand(kCodeTri, x3, y3, x2, y2, x1, y1);
    } else {
        AppendCommand(kCodeTri, x1, y1, x2, y2, x3, y3);
    }
}

int MyApp::OnRender() {
    int64_t elapsed = static_cast<int64_t>(app::Millisecs()) - renderClock;
    if (elapsed >= 1) renderRate = static_cast<int>(1000 / elapsed);
    renderRateAvg = (renderRate + renderRateAvg * 9) / 10;
    renderClock = app::Millisecs();

    int width = app::_devWidth, height = app::_devHeight;
    // The background; with backAlpha below 1 the last frame shows through as trails.
    graphics::SetColor(backR, backG, backB);
    graphics::SetAlpha(backAlpha);
    graphics::DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    graphics::SetColor(255, 255, 255);
    graphics::SetAlpha(1);

    // A minimised window has no area: no virtual screen can be fitted to it,
    // so the last one stays and nothing is drawn.
    if (width <= 0 || height <= 0) return 0;
    if (width != lastDevWidth || height != lastDevHeight) {
        loadStage = 1;  // pictures are reloaded in the resolution the new size wants
        lastDevWidth = width;
        lastDevHeight = height;
    }
    FitScreen(width, height);
    ReplayDrawList(width, height);
    return 0;
}

void MyApp::FitScreen(int width, int height) {
    float w = static_cast<float>(width), h = static_cast<float>(height);
    // A portrait window gets a virtual screen 1.5 times the design size.
    float l = w >= h ? 1.0f : 1.5f;
    float u = (w - 2 * overscan) / (l * rawscrw);
    float v = (h - 2 * overscan) / (l * rawscrh);
    // The larger scale wins: one design dimension is kept, the other follows
    // the window's aspect ratio, and no bars are drawn.
    if (v > u) {
        scaleX = scaleY = v;
        jscrh = l * rawscrh;
        jscrw = w * l * rawscrh / h;
        fitAxis = 2;
    } else {
        scaleX = scaleY = u;
        jscrw = l * rawscrw;
        jscrh = h * l * rawscrw / w;
        fitAxis = 1;
    }
    landscape = jscrh <= jscrw ? 1 : 0;
}

void MyApp::ReplayDrawList(int width, int height) {
    float sx = scaleX, sy = scaleY;
    float ox = overscan;
    float oy = overscan * static_cast<float>(height) / static_cast<float>(width);
    for (int k = 0; k < drawLength - 14; k += kCommandFloats) {
        const float* c = drawList + k;
        graphics::SetAlpha(c[kAlpha]);
        graphics::SetColor(c[kRed], c[kGreen], c[kBlue]);
        graphics::SetBlend(c[kBlend] == kAdditive ? 1 : 0);
        float code = c[kCode];
        if (code == kCodeRect) {
            graphics::DrawRect(ox + sx * c[1], oy + sy * c[2], sx * c[4], sy * c[5]);
        } else if (code == kCodeOval) {
            graphics::DrawEllipse(ox + sx * c[1], oy + sy * c[2], sx * c[4], sy * c[5]);
        } else if (code == kCodeLine) {
            graphics::DrawLine(ox + sx * c[1], oy + sy * c[2], ox + sx * c[4], oy + sy * c[5]);
        } else if (code == kCodeTri) {
            float points[6] = {ox + sx * c[1], oy + sy * c[2], ox + sx * c[3],
                               oy + sy * c[4], ox + sx * c[5], oy + sy * c[6]};
            graphics::DrawPoly(points, 6);
        } else if (code > -1) {
            // Only real banks: a code past the bank draws nothing, like an empty bank.
            int bank = TruncToInt(code);
            const Image* image = bank < kImageBanks ? images[bank].get() : nullptr;
            if (!image) continue;
            graphics::DrawImage2(image, ox + sx * c[1], oy + sy * c[2], c[3], sx * c[4] * hdScale,
                                 sy * c[5] * hdScale, TruncToInt(c[6]));
        }
    }
}
