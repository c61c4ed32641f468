// Placeholder audio device until the audio work lands.
#pragma once

class gxtkAudio {
public:
    virtual ~gxtkAudio() = default;
    virtual void Suspend() {}
    virtual void Resume() {}
};
