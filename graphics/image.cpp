#include "graphics/image.h"

#include "host/qv.h"

void Image::CheckNotInitialised() const {
    if (surface) qvError(u"Image already initialized");
}

Image& Image::Init(std::shared_ptr<gxtkSurface> newSurface, int frameCount, int newFlags) {
    CheckNotInitialised();
    if (!newSurface) return *this;
    surface = std::move(newSurface);
    // No frames at all rather than a division by zero.
    width = frameCount > 0 ? surface->Width() / frameCount : surface->Width();
    height = surface->Height();
    frames.clear();
    for (int i = 0; i < frameCount; ++i) frames.push_back({i * width, 0});
    return ApplyFlags(newFlags);
}

Image& Image::Init2(std::shared_ptr<gxtkSurface> newSurface, int x, int y, int frameWidth, int frameHeight,
                    int frameCount, int newFlags, Image* newSource, int srcX, int srcY, int srcWidth,
                    int srcHeight) {
    CheckNotInitialised();
    if (!newSurface) return *this;
    surface = std::move(newSurface);
    source = newSource;
    width = frameWidth;
    height = frameHeight;
    frames.clear();
    for (int i = 0; i < frameCount; ++i) {
        if (x + frameWidth > srcWidth) {
            y += frameHeight;
            if (frameWidth > srcWidth) qvError(u"Image frame outside surface");
            x = 0;
        }
        if (y + frameHeight > srcHeight) qvError(u"Image frame outside surface");
        frames.push_back({srcX + x, srcY + y});
        x += frameWidth;
    }
    return ApplyFlags(newFlags);
}

Image& Image::ApplyFlags(int newFlags) {
    flags = newFlags;
    if (flags & PadX) {
        for (Frame& frame : frames) frame.x += 1;
        width -= 2;
    }
    if (flags & PadY) {
        for (Frame& frame : frames) frame.y += 1;
        height -= 2;
    }
    if (flags & CentreHandle) {
        flags &= ~CentreHandle;
        handleX = static_cast<float>(width) * 0.5f;
        handleY = static_cast<float>(height) * 0.5f;
    }
    if (frames.size() == 1 && frames[0].x == 0 && frames[0].y == 0 && surface && width == surface->Width() &&
        height == surface->Height()) {
        flags |= WholeSurface;
    }
    return *this;
}
