// Image banks and the loading screen.
//
//   Reload();           // picks the resolution, loads the logo and the font at
//                       // once, and starts the loader (loadStage = 1)
//   // OnUpdate then calls Loader() once a tick while loadStage > 0: each call
//   // loads one stage of pictures and effects and draws the loading screen;
//   // the seventeenth call ends loading (loadStage = 0).
//   DrawImg(97, x, y, 3);   // any bank, once loaded; an empty bank draws nothing
//
// Pictures exist in three resolutions: "name.png", "name-hd.png" (cells x 2)
// and "name-hd2.png" (cells x 4). The window size picks one (hdFactor) and the
// replay draws it scaled by hdScale = 1 / hdFactor, so a bank keeps its size
// in virtual pixels. OnRender sets loadStage back to 1 whenever the window
// size changes, so everything is loaded again in the resolution that suits it.
#include "graphics/graphics.h"
#include "graphics/image.h"
#include "shell/globals.h"
#include "shell/myapp.h"
#include "shell/numeric.h"

namespace {

constexpr int kLogoBank = 93;
constexpr int kFontBank = 90;
constexpr int kBlankBank = 81;
constexpr int kBlankSide = 2048;
constexpr int kLogoSound = 96;

// Window sides above these load the "-hd" and "-hd2" pictures.
constexpr int kHdAbove = 630;
constexpr int kHd2Above = 1230;

bool IsBank(int bank) { return bank >= 0 && bank < MyApp::kImageBanks; }

String PicturePath(std::u16string_view name, int hdFactor) {
    String path(name);
    if (hdFactor == 2) path += u"-hd";
    if (hdFactor == 4) path += u"-hd2";
    return path + u".png";
}

}  // namespace

void MyApp::LoadImg(int bank, std::u16string_view name, int cellW, int cellH, int frames, int flags) {
    if (!IsBank(bank)) return;
    images[bank] = nullptr;  // the old picture goes before the new one is read
    int frameW = cellW * hdFactor, frameH = cellH * hdFactor;
    images[bank] = graphics::LoadImage2(PicturePath(name, hdFactor), frameW, frameH, frames, flags);
    imageSizes[3 * bank] = frameW;
    imageSizes[3 * bank + 1] = frameH;
    imageSizes[3 * bank + 2] = frames;
}

// The font's sizes are kept in virtual pixels: Text advances by them whatever
// the resolution of the glyph pictures.
void MyApp::LoadFont(int bank, std::u16string_view name, int advance, int lineHeight) {
    constexpr int kGlyphCell = 16, kGlyphs = 128;
    if (!IsBank(bank)) return;
    images[bank] = nullptr;
    images[bank] = graphics::LoadImage2(PicturePath(name, hdFactor), kGlyphCell * hdFactor, kGlyphCell * hdFactor,
                                        kGlyphs, Image::CentreHandle);
    imageSizes[3 * bank] = advance;
    imageSizes[3 * bank + 1] = lineHeight;
    imageSizes[3 * bank + 2] = kGlyphs;
    currentFont = bank;
}

void MyApp::ReserveImg(int bank, int width, int height) {
    if (!IsBank(bank)) return;
    images[bank] = nullptr;
    images[bank] = graphics::CreateImage(width, height, 1, Image::CentreHandle);
    imageSizes[3 * bank] = width;
    imageSizes[3 * bank + 1] = height;
    imageSizes[3 * bank + 2] = 1;
    lastReserved = bank;
}

// Larger windows load larger pictures, drawn scaled down by hdScale so that a
// bank always has the same size in virtual pixels.
void MyApp::ChooseResolution() {
    int width = app::_devWidth, height = app::_devHeight;
    hdFactor = 1;
    hdScale = 1.0f;
    if (width > kHdAbove || height > kHdAbove) {
        hdFactor = 2;
        hdScale = 0.5f;
    }
    if (width > kHd2Above || height > kHd2Above) {
        hdFactor = 4;
        hdScale = 0.25f;
    }
}

void MyApp::Reload() {
    backR = backG = backB = 0;
    backAlpha = 1;
    ChooseResolution();
    // The loading screen draws the logo and the text from its first frame.
    LoadImg(kLogoBank, u"common/ObloLogo", 256, 256, 1, Image::CentreHandle);
    LoadFont(kFontBank, u"fonts/shadow_editundo", 7, 10);
    loadStage = 1;
}

void MyApp::Loader() {
    constexpr int kCentre = Image::CentreHandle;
    ChooseResolution();
    switch (loadStage) {
    case 1:
        LoadImg(97, u"common/icons", 32, 32, 16, kCentre);
        LoadSFX(kLogoSound);
        ReserveImg(kBlankBank, kBlankSide, kBlankSide);
        break;
    case 2:
        LoadImg(95, u"common/Buttons", 64, 64, 16, kCentre);
        LoadSFX(1);
        break;
    case 3:
        LoadImg(94, u"common/dpad", 32, 32, 16, kCentre);
        LoadSFX(98);
        break;
    case 4:
        LoadImg(kLogoBank, u"common/ObloLogo", 256, 256, 1, kCentre);
        // The studio sting belongs to the first start only, not to every resize.
        if (logoSoundPlayed == 0) {
            PlaySFX(kLogoSound, 1, 1, 0);
            logoSoundPlayed = 1;
        }
        break;
    case 5:
        LoadFont(kFontBank, u"fonts/shadow_editundo", 7, 10);
        LoadSFX(99);
        break;
    case 6:
        LoadImg(99, u"menu", 256, 256, 4, kCentre);
        LoadImg(98, u"logo", 256, 128, 1, kCentre);
        LoadSFX(95);
        break;
    case 7:
        LoadImg(80, u"BadgesA", 64, 64, 64, kCentre);
        LoadImg(96, u"parts", 8, 8, 256, kCentre);
        break;
    case 8:
        LoadImg(85, u"common/circle", 256, 256, 4, kCentre);
        LoadImg(86, u"common/light", 32, 32, 4, kCentre);
        break;
    case 9:
        LoadImg(1, u"gfx", 36, 36, 49, kCentre);
        break;
    case 10: case 11: case 12: case 13: case 14: case 15: case 16:
        LoadSFX(loadStage - 9);  // the game's effects 1 ... 7
        break;
    default:
        loadStage = 0;
        WaitStart(1);
        return;
    }
    loadStage += 1;
    WaitStart(1);
}

namespace {

// One comet tail of the spinner: 11 dots from faint to solid, 4 degrees apart.
struct SpinnerRing {
    float red, green, blue;
    float angleOffset;  // degrees ahead of spinAngle
    float radiusFactor;  // of the smaller screen side
    float dotRadius;
};

constexpr SpinnerRing kOuterRing = {0, 125, 255, 0, 0.45f, 16};
constexpr SpinnerRing kMiddleRing = {255, 125, 0, 120, 0.4f, 12};
constexpr SpinnerRing kInnerRing = {255, 125, 0, 240, 0.35f, 8};

}  // namespace

// The loading screen: the logo inside three turning comet tails, and
// "Loading..." at the bottom. `loading` is 1 from the loader.
void MyApp::WaitStart(int /*loading*/) {
    DoBG(0, 0, 0, 1);  // the background fades to black
    spinAngle += 3;
    float side = static_cast<float>(TruncToInt(jscrw < jscrh ? jscrw : jscrh));
    auto drawRing = [&](const SpinnerRing& ring) {
        for (int i = 0; i <= 10; ++i) {
            float angle = static_cast<float>(spinAngle) + 4.0f * static_cast<float>(i) + ring.angleOffset;
            float distance = side * ring.radiusFactor;
            SetCol(ring.red, ring.green, ring.blue, static_cast<float>(i) / 10.0f);
            Oval(jscrw / 2 + distance * SinDeg(angle), jscrh / 2 - distance * CosDeg(angle), ring.dotRadius,
                 ring.dotRadius);
        }
    };
    drawRing(kOuterRing);
    SetSize(2);
    SetCol(255, 255, 255, 1);
    DrawImg(kLogoBank, jscrw * 0.5f, jscrh * 0.48f, 0);
    drawRing(kMiddleRing);
    drawRing(kInnerRing);
    ResetDraw();
    Text(jscrw * 0.5f, jscrh - 32, u"Loading...", 1, 1, 0);
}
