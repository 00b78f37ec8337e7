#include "analysis/scope_display.h"

#include "common/rounding.h"
#include "platform/ui/surface_view.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

double binHeight(float bin, int divisor) {
    const std::int64_t magnitude = std::llabs(std::int64_t{roundToInt(bin)});
    return std::sqrt(static_cast<double>(magnitude / divisor));
}

} // namespace

void ScopeDisplay::setUp(SurfaceView& scope) {
    Scope = &scope;
    m_divisor = 520;
    const QRect inner = scope.contentsRect();
    ScopeBuff.resize(inner.width(), inner.height());
    ScopeBuff.setBackColour(scope.backColour());
    ScopeBuff.clear();
    ScopeBuff.setPen(PenStyle::Dot, kPenColour);
    ScopeHeight = scope.height();
    scope.setBeforePaint([this] { catchUp(); });
}

ScopeDisplay::~ScopeDisplay() {
    if (Scope)
        Scope->setBeforePaint({});
}

float ScopeDisplay::columnTop(float a, float b, int scopeHeight, int divisor) {
    const double ha = binHeight(a, divisor);
    const double hb = binHeight(b, divisor);
    return static_cast<float>(scopeHeight - (ha + hb));
}

void ScopeDisplay::DrawScopeFrame(const float* SpectrumBuffer) {
    if (!Scope)
        return;
    // Drawing for nobody costs as much as drawing for the screen: keep the bins instead.
    if (!showing()) {
        std::copy_n(SpectrumBuffer, m_skipped.size(), m_skipped.begin());
        m_hasSkipped = true;
        return;
    }
    m_hasSkipped = false;
    drawColumns(SpectrumBuffer);
    Scope->showSurface(ScopeBuff);
}

bool ScopeDisplay::showing() const {
    return Scope && Scope->exposed();
}

// The panel is painted again (its window shown or exposed): the frame it skipped last.
void ScopeDisplay::catchUp() {
    if (!m_hasSkipped)
        return;
    m_hasSkipped = false;
    drawColumns(m_skipped.data());
    Scope->takeSurface(ScopeBuff);
}

void ScopeDisplay::drawColumns(const float* SpectrumBuffer) {
    ScopeBuff.clear();
    ScopeBuff.moveTo(0, ScopeHeight);
    for (int i = 0; i < kColumns; ++i) {
        ScopeBuff.moveTo(i, ScopeHeight);
        ScopeBuff.setPenStyle(PenStyle::Dot);
        const float top =
            columnTop(SpectrumBuffer[2 * i], SpectrumBuffer[2 * i + 1], ScopeHeight, m_divisor);
        // A column is at most two square roots of 2^31 / 520 tall, well inside the range.
        ScopeBuff.lineTo(i, roundToInt(top));
    }
}
