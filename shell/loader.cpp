// Image banks and the loading screen.
//
// Still to be built here: the bank loaders (LoadImg, LoadFont, ReserveImg),
// the loader's sixteen stages and the animated loading screen. Until then
// Reload chooses the resolution and Loader ends loading at once.
#include "shell/myapp.h"

void MyApp::LoadImg(int, std::u16string_view, int, int, int, int) {}

void MyApp::LoadFont(int, std::u16string_view, int, int) {}

void MyApp::ReserveImg(int, int, int) {}

// Larger windows load larger pictures, drawn scaled down by hdScale so that a
// bank always has the same size in virtual pixels.
void MyApp::ChooseResolution() {
    int width = app::_devWidth, height = app::_devHeight;
    hdFactor = 1;
    hdScale = 1.0f;
    if (width > 630 || height > 630) {
        hdFactor = 2;
        hdScale = 0.5f;
    }
    if (width > 1230 || height > 1230) {
        hdFactor = 4;
        hdScale = 0.25f;
    }
}

void MyApp::Reload() {
    backR = backG = backB = 0;
    backAlpha = 1;
    ChooseResolution();
    loadStage = 1;
}

void MyApp::Loader() {
    ChooseResolution();
    loadStage = 0;
}

void MyApp::WaitStart(int) {}
