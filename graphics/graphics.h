// Placeholder graphics module until the renderer lands.
#pragma once

#include "graphics/gxtk_graphics.h"

class Image;

namespace graphics {

extern gxtkGraphics* device;
extern gxtkGraphics* renderDevice;

void InitModule();
void SetGraphicsDevice(gxtkGraphics* newDevice);
void SetFont(Image* font, int firstChar);
void BeginRender();
void EndRender();

}  // namespace graphics
