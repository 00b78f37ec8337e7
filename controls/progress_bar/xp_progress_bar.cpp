#include "controls/progress_bar/xp_progress_bar.h"

#include "controls/progress_bar/progress_bar_accessible.h"
#include "controls/stored_values.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr ColourRef kDefaultColor = Colour::systemRef(Colour::kSysHighlight);
constexpr std::int32_t kDefaultBrushStyle = 4;

} // namespace

XP_ProgressBar::XP_ProgressBar(QWidget* parent) : QWidget(parent) {
    installProgressBarAccessibility();
    // The font is the widget's own, a copy of the application's at creation.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    setHdc();
    m_hwnd = this;
    m_max = 100;
    m_min = 0;
    m_fillPercent = 0;
    m_orientation = Horizontal;
    m_scrolling = XPBlocks;
    m_color = Colour::translate(kDefaultColor);
    DrawProgressBar();
}

XP_ProgressBar::~XP_ProgressBar() {
    ReleaseSurface();
}

void XP_ProgressBar::setBrushStyle(std::int32_t Style) {
    m_brushStyle = Style;
    emit propertyChanged(QStringLiteral("BrushStyle"));
}

void XP_ProgressBar::setColor(ColourRef lColor) {
    m_color = Colour::translate(lColor);
    DrawProgressBar();
}

void XP_ProgressBar::setHwnd(QWidget* chWnd) {
    m_hwnd = chWnd;
}

void XP_ProgressBar::setHdc() {
    m_drawsToSurface = EnsureSurface(width(), height());
}

void XP_ProgressBar::setImage(const QImage& handle) {
    m_image = handle;
    m_imageSource = {};
    emit propertyChanged(QStringLiteral("Image"));
    DrawProgressBar();
}

void XP_ProgressBar::setMin(std::int32_t cMin) {
    m_min = cMin;
    emit propertyChanged(QStringLiteral("Min"));
}

void XP_ProgressBar::setMax(std::int32_t cMax) {
    m_max = cMax;
    emit propertyChanged(QStringLiteral("Max"));
}

void XP_ProgressBar::setOrientation(std::int32_t cOrientation) {
    m_orientation = cOrientation;
    emit propertyChanged(QStringLiteral("Orientation"));
    DrawProgressBar();
}

void XP_ProgressBar::setScrolling(std::int32_t lScrolling) {
    m_scrolling = lScrolling;
    emit propertyChanged(QStringLiteral("Scrolling"));
    DrawProgressBar();
}

void XP_ProgressBar::setShowText(bool bShowText) {
    m_showText = bShowText;
    emit propertyChanged(QStringLiteral("ShowText"));
    DrawProgressBar();
}

std::int32_t XP_ProgressBar::Value() const {
    return valueFromPercent(m_fillPercent, m_min, m_max);
}

ValueError XP_ProgressBar::setValue(std::int32_t cValue) {
    const PercentResult result = percentFromValue(cValue, m_min, m_max);
    if (result.error != ValueError::None)
        return result.error; // FillPercent keeps its value
    const bool changed = m_fillPercent != result.percent;
    m_fillPercent = result.percent;
    DrawProgressBar();
    if (changed)
        notifyProgressBarValue(this);
    return ValueError::None;
}

void XP_ProgressBar::ReadProperties(const PropertyBag& bag) {
    // Each setter below would draw the bar; it is drawn once, with all of them taken.
    m_readingProperties = true;
    setFont(toQFont(bag.read("Font", toFontValue(font())), font()));
    m_brushStyle = bag.read("BrushStyle", kDefaultBrushStyle);
    setColor(bag.read("Color", kDefaultColor));
    m_imageSource = bag.read("Image", PictureValue{});
    m_image = toImage(m_imageSource);
    if (m_image.isNull())
        m_imageSource = {};
    setMax(bag.read("Max", std::int32_t{100}));
    setMin(bag.read("Min", std::int32_t{0}));
    setOrientation(bag.read("Orientation", std::int32_t{Horizontal}));
    setScrolling(bag.read("Scrolling", std::int32_t{XPBlocks}));
    setShowText(bag.read("ShowText", false));
    // The stored percentage goes through the range again; with 0..100 it is unchanged.
    setValue(bag.read("Value", std::int32_t{0}));
    m_readingProperties = false;
    DrawProgressBar();
}

void XP_ProgressBar::WriteProperties(PropertyBag& bag) const {
    bag.write("Font", toFontValue(font()));
    bag.write("BrushStyle", m_brushStyle, kDefaultBrushStyle);
    bag.write("Color", m_color, kDefaultColor);
    const PictureValue image = m_imageSource.isNone() ? toPictureValue(m_image) : m_imageSource;
    bag.write("Image", image, PictureValue{});
    bag.write("Max", m_max, std::int32_t{100});
    bag.write("Min", m_min, std::int32_t{0});
    bag.write("Orientation", m_orientation, std::int32_t{Horizontal});
    bag.write("Scrolling", m_scrolling, std::int32_t{XPBlocks});
    bag.write("ShowText", m_showText, false);
    // The percentage itself, not what the Value getter gives.
    bag.write("Value", m_fillPercent, std::int32_t{0});
}

void XP_ProgressBar::DrawProgressBar() {
    if (m_readingProperties)
        return;
    renderFrame();
    if (m_drawsToSurface)
        update(); // paintEvent copies the frame to the window
}

void XP_ProgressBar::renderFrame() {
    if (m_fillPercent > 100)
        m_fillPercent = 100;

    const QWidget* window = m_hwnd ? m_hwnd.data() : this;
    m_clientRect = {0, 0, window->width(), window->height()};
    // A resize of a hidden widget reaches us only when it is shown; follow the size here too.
    m_drawsToSurface = EnsureSurface(m_clientRect.right, m_clientRect.bottom);
    paintFrame();
}

void XP_ProgressBar::pDraw(DrawSurface& hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc,
                           int xDst, int yDst) const {
    if (WidthSrc < 1)
        WidthSrc = m_surface.width();
    if (HeightSrc < 1)
        HeightSrc = m_surface.height();
    hdc.bitBlt(xDst, yDst, WidthSrc, HeightSrc, m_surface, xSrc, ySrc, RasterOp::SrcCopy);
}

bool XP_ProgressBar::EnsureSurface(int w, int h) {
    const bool exists = m_surface.width() > 0 && m_surface.height() > 0;
    if (exists && m_surface.width() >= w && m_surface.height() >= h)
        return true; // never made smaller
    if (!exists && (w <= 0 || h <= 0))
        return false;
    ReleaseSurface();
    if (w <= 0 || h <= 0)
        return false;
    m_surface = DrawSurface(w, h);
    return m_surface.width() == w && m_surface.height() == h;
}

void XP_ProgressBar::ReleaseSurface() {
    m_surface = DrawSurface();
    m_drawsToSurface = false;
}

QImage XP_ProgressBar::frame() const {
    const int w = std::min(width(), m_surface.width());
    const int h = std::min(height(), m_surface.height());
    if (!m_drawsToSurface || w <= 0 || h <= 0)
        return {};
    return m_surface.image().copy(0, 0, w, h);
}

void XP_ProgressBar::paintEvent(QPaintEvent*) {
    renderFrame();
    if (!m_drawsToSurface)
        return;
    // The one copy of the finished frame to the window.
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_surface.image(), QRect(0, 0, width(), height()));
}

void XP_ProgressBar::resizeEvent(QResizeEvent*) {
    // Only the surface follows the size; the paint that comes next draws the frame.
    setHdc();
}
