// Placeholder graphics device until the renderer lands.
#pragma once

class gxtkGraphics {
public:
    virtual ~gxtkGraphics() = default;
    virtual int BeginRender() { return 1; }
    virtual void EndRender() {}
    virtual void DiscardGraphics() {}
};
