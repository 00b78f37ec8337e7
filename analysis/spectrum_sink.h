#pragma once

// Where the live capture hands each finished spectrum: the spectrum display.
class SpectrumSink {
public:
    virtual ~SpectrumSink() = default;
    // One frame from the 1024 values of the transform.
    virtual void DrawScopeFrame(const float* SpectrumBuffer) = 0;
    // Whether anybody can see the frames. While nobody can (the window minimised or hidden),
    // the capture rests; showing the display again wakes the window's event loop.
    virtual bool showing() const { return true; }
};
