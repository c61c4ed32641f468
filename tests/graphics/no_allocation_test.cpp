// Drawing never allocates: every draw call, flush and state change of a
// frame runs with the heap untouched. Allocations are counted
// while an AllocationCount lives.
#include <gtest/gtest.h>

#include "tests/graphics/graphics_fixtures.h"
#include "tests/support/allocation_count.h"

namespace {

TEST(NoAllocation, TheCounterSeesAllocations) {
    AllocationCount scope;
    int* kept = new int(1);
    asm volatile("" : : "g"(kept) : "memory");  // not to be optimised away
    delete kept;
    EXPECT_EQ(scope.Made(), 1);
}

TEST(NoAllocation, AFrameOfEveryDrawCallAllocatesNothing) {
    RecordedGraphics g;  // its recorder logs into storage sized up front
    g.pictures.WritePng("sprites.png", 32, 16, 4, std::vector<uint8_t>(32 * 16 * 4, 200));
    auto sprites = graphics::LoadImage2(u"sprites.png", 16, 16, 2, Image::CentreHandle);
    auto other = graphics::CreateImage(8, 8, 1, 0);
    ASSERT_TRUE(sprites && other);
    const float triangle[6] = {0, 0, 10, 0, 0, 10};
    const float textured[12] = {0, 0, 0, 0, 10, 0, 8, 0, 0, 10, 0, 8};

    g.recorder.Clear();
    AllocationCount scope;
    g.BeginFrame();
    for (int i = 0; i < 600; ++i) {  // past a full batch, with texture changes
        graphics::DrawImage2(sprites.get(), i, 100, i * 3.0f, 1.5f, 0.5f, i % 2);
        if (i % 100 == 0) graphics::DrawImage(other.get(), 0, 0, 0);
    }
    graphics::PushMatrix();
    graphics::Translate(5, 5);
    graphics::Rotate(30);
    graphics::SetColor(10, 20, 30);
    graphics::SetAlpha(0.5f);
    graphics::SetBlend(1);
    graphics::SetScissor(10, 10, 100, 100);
    graphics::DrawRect(0, 0, 10, 10);
    graphics::DrawLine(0, 0, 10, 10);
    graphics::DrawEllipse(50, 50, 200, 100);
    graphics::DrawPoly(triangle);
    graphics::DrawPoly2(textured, sprites.get(), 1);
    g.device->DrawPoint(1, 1);
    g.device->Cls(0, 0, 0);
    graphics::PopMatrix();
    g.EndFrame();
    EXPECT_EQ(scope.Made(), 0);
    EXPECT_GT(g.Draws().size(), 3u);
    EXPECT_EQ(g.recorder.dropped, 0);
}

}  // namespace
