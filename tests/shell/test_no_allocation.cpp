// A tick and a frame allocate nothing on the heap: operator new is counted
// while a test holds an AllocationCount.
#include <gtest/gtest.h>

#include "graphics/graphics.h"
#include "graphics/image.h"
#include "shell/globals.h"
#include "tests/shell/shell_test.h"
#include "tests/support/allocation_count.h"


TEST_F(ShellTest, ATickAllocatesNothing) {
    UseGameFont();
    FinishLoading();
    DebugMode = 1;  // the debug line builds text from numbers every tick
    host.PressKey(81);  // a key held, but none that starts a game (that may build a file name once)
    host.MouseEvent(4, 0, 100, 100);
    host.TouchEvent(7, 2, 50, 60);
    host.Tick();
    AllocationCount count;
    for (int i = 0; i < 10; ++i) {
        host.clockMs += 16;
        host.MouseEvent(6, 0, 100.0f + i, 100);
        host.Tick();
    }
    EXPECT_EQ(count.Made(), 0);
}

TEST_F(ShellTest, ReplayingAFullListAllocatesNothing) {
    FinishLoading();
    game->mode = 0;
    game->images[1] = graphics::CreateImage(36, 36, 4, Image::CentreHandle);
    game->hdScale = 1;
    game->CLS2D(0, 0, 0, 1);
    for (int i = 0; game->drawLength / MyApp::kCommandFloats < 2499; ++i) {
        float x = static_cast<float>(i % 640);
        game->SetRot(static_cast<float>(i));
        switch (i % 5) {
        case 0: game->DrawImg(1, x, 100, static_cast<float>(i % 4)); break;
        case 1: game->Rect(x, 10, 5, 5); break;
        case 2: game->Oval(x, 20, 5, 3); break;
        case 3: game->Line(x, 0, x + 10, 30); break;
        default: game->Tri(x, 0, x + 5, 10, x + 2, 20); break;
        }
    }
    host.Frame();
    AllocationCount count;
    host.Frame();
    EXPECT_EQ(count.Made(), 0);
}
