#pragma once

#include "analysis/spectrum_sink.h"
#include "platform/drawing/colour.h"
#include "platform/drawing/draw_surface.h"

#include <array>

class SurfaceView;

// The live spectrum panel: each frame is drawn on an off-screen surface (`ScopeBuff`) as 256
// dotted columns rising from the bottom and then handed to the visible panel (`Scope`) in one
// step, so the panel never shows half a frame. No peak hold or smoothing.
// `Scope`, `ScopeBuff`, `ScopeHeight`, `DrawScopeFrame` and `SpectrumBuffer` are the program's
// own names; everything else here is m_member, camelCase() and kConstant.
class ScopeDisplay : public SpectrumSink {
public:
    static constexpr ColourRef kBackColour = Colour::RGB(80, 106, 146);
    static constexpr ColourRef kPenColour = Colour::RGB(168, 196, 236);
    static constexpr int kColumns = 256;

    // Not set up yet: frames are dropped until setUp.
    ScopeDisplay() = default;
    explicit ScopeDisplay(SurfaceView& scope) { setUp(scope); }
    ~ScopeDisplay() override;
    ScopeDisplay(const ScopeDisplay&) = delete;
    ScopeDisplay& operator=(const ScopeDisplay&) = delete;

    // The set-up, once at start-up: `ScopeBuff` takes the inner size and the background
    // colour of `scope`; ScopeHeight is the panel's outer height. Call it once the panel has
    // its size and colour; the panel must outlive this object.
    void setUp(SurfaceView& scope);

    // One frame from the 1024 bins of the transform (only bins 0..511 are drawn). While nobody
    // can see the panel (its window hidden or minimised) nothing is drawn: the bins are kept,
    // and the latest frame is drawn when the panel is painted again.
    void DrawScopeFrame(const float* SpectrumBuffer) override;
    bool showing() const override;

    // Where column (a, b) ends, before the line's own rounding: ScopeHeight less the square
    // roots of |a| / divisor and |b| / divisor (a and b rounded to integers first, the
    // division truncating).
    static float columnTop(float a, float b, int scopeHeight, int divisor);

    const DrawSurface& scopeBuffer() const { return ScopeBuff; }
    int scopeHeight() const { return ScopeHeight; }
    int divisor() const { return m_divisor; }

private:
    void drawColumns(const float* SpectrumBuffer);
    void catchUp();

    SurfaceView* Scope = nullptr;
    std::array<float, 2 * kColumns> m_skipped{}; // bins of the last frame nobody saw
    bool m_hasSkipped = false;
    DrawSurface ScopeBuff;
    int ScopeHeight = 0;
    int m_divisor = 0;
};
