// Images: one surface cut into equally sized frames, with a handle (the point
// of a frame that lands on the drawing position) and flags that trim a
// one-pixel border from every frame or centre the handle.
//
//   auto ship = graphics::LoadImage2(u"ship.png", 32, 32, 8, Image::CentreHandle);  // or null
//   ship->frames.size();  ship->width;  ship->handleX;
//   graphics::DrawImage2(ship.get(), x, y, rotation, 1, 1, frame);   // graphics/graphics.h
//
// Frames run left to right and wrap to the next row of cells when a cell would
// cross the right edge. Initialising twice, or a frame outside the surface, is
// a runtime error that stops the program.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/gxtk_surface.h"

struct Frame {
    int32_t x = 0;  // left edge of the cell on the surface, pixels
    int32_t y = 0;  // top edge
};

class Image {
public:
    // Flags, summed by the caller.
    static constexpr int CentreHandle = 1;     // handle at the centre of the (trimmed) frame
    static constexpr int PadX = 2;             // leave out a one-pixel column on each side of every cell
    static constexpr int PadY = 4;             // leave out a one-pixel row above and below every cell
    static constexpr int WholeSurface = 0x10000;  // set by ApplyFlags: one frame that is the whole surface

    // A horizontal strip: frameCount frames of (surface width / frameCount) x surface height.
    Image& Init(std::shared_ptr<gxtkSurface> newSurface, int frameCount, int newFlags);
    // A grid of frameWidth x frameHeight cells inside the rectangle (srcX, srcY,
    // srcWidth, srcHeight) of the surface, starting at (x, y) within it.
    Image& Init2(std::shared_ptr<gxtkSurface> newSurface, int x, int y, int frameWidth, int frameHeight,
                 int frameCount, int newFlags, Image* newSource, int srcX, int srcY, int srcWidth, int srcHeight);
    // Stores the flags and applies them; may be called again (PadX/PadY then trim again).
    Image& ApplyFlags(int newFlags);

    std::shared_ptr<gxtkSurface> surface;  // null until initialised
    int32_t width = 0;   // one frame, after trimming
    int32_t height = 0;
    std::vector<Frame> frames;
    int32_t flags = 0;   // as last applied, without CentreHandle
    float handleX = 0;   // from the frame's top-left corner, pixels
    float handleY = 0;
    Image* source = nullptr;  // the image whose surface this one shares, if any

private:
    void CheckNotInitialised() const;
};
