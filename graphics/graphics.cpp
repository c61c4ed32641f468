#include "graphics/graphics.h"

namespace graphics {

gxtkGraphics* device = nullptr;
gxtkGraphics* renderDevice = nullptr;

void InitModule() { device = renderDevice = nullptr; }
void SetGraphicsDevice(gxtkGraphics* newDevice) { device = newDevice; }
void SetFont(Image*, int) {}
void BeginRender() { renderDevice = device; }
void EndRender() { renderDevice = nullptr; }

}  // namespace graphics
