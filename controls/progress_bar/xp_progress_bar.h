#pragma once

#include "controls/progress_bar/progress_bar_math.h"
#include "platform/drawing/colour.h"
#include "platform/drawing/draw_rect.h"
#include "platform/drawing/draw_surface.h"
#include "platform/forms/property_bag.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>

// The looks, as stored under "scrolling". Any other value draws like XPSmooth.
enum ProgressStyle : std::int32_t {
    XPBlocks = 0,
    XPSmooth = 1,
    XPSearching = 2,
    FlatFill = 3,
    EtchedGradient = 4,
    FramedGradient = 5,
    DarkGradient = 6,
    HatchFill = 7,
    PatternFill = 8,
    SilverGradient = 9
};

// Only the XP looks draw vertically; any non-zero value is vertical.
enum BarOrientation : std::int32_t { Horizontal = 0, Vertical = 1 };

// A self-drawn progress bar with ten looks. Every frame is drawn whole onto an off-screen
// surface (which grows with the control and never shrinks) and reaches the window in one copy,
// so the bar never flickers. The font is the widget's own font (QWidget::font/setFont).
class XP_ProgressBar : public QWidget {
    Q_OBJECT
    // The one property a designer shows a description for.
    Q_CLASSINFO("Color", "Returns/sets the color of the ProgressBar")
public:
    explicit XP_ProgressBar(QWidget* parent = nullptr);
    ~XP_ProgressBar() override;

    // Properties. Setters that notify emit propertyChanged with the property's name.
    void setBrushStyle(std::int32_t Style); // no getter; no redraw
    ColourRef Color() const { return m_color; }
    void setColor(ColourRef lColor); // system colours are translated; redraws
    const QFont& Font() const { return font(); }
    QWidget* hwnd() const { return m_hwnd; }
    void setHwnd(QWidget* chWnd); // the window whose client area is drawn
    const DrawSurface& hdc() const { return m_surface; }
    void setHdc(); // sizes the off-screen surface to the control and draws on it
    const QImage& Image() const { return m_image; }
    void setImage(const QImage& handle); // redraws
    std::int32_t Min() const { return m_min; }
    void setMin(std::int32_t cMin); // no redraw
    std::int32_t Max() const { return m_max; }
    void setMax(std::int32_t cMax); // no redraw
    std::int32_t Orientation() const { return m_orientation; }
    void setOrientation(std::int32_t cOrientation);
    std::int32_t Scrolling() const { return m_scrolling; }
    void setScrolling(std::int32_t lScrolling);
    bool ShowText() const { return m_showText; }
    void setShowText(bool bShowText);
    std::int32_t BrushStyle() const { return m_brushStyle; } // for saving and tests

    // Value maps onto FillPercent through Min..Max. With Max equal to Min, or a value whose
    // scaled product leaves 32 bits, nothing changes and the error is returned.
    std::int32_t Value() const;
    ValueError setValue(std::int32_t cValue); // redraws; no notification
    std::int32_t FillPercent() const { return m_fillPercent; }

    // Drawing. DrawProgressBar draws the whole control and shows it.
    void DrawProgressBar();
    static void DrawLine(int X, int Y, int Width, int Height, DrawSurface& cHdc, ColourRef Color);
    // Lines from lEndColor (line 0) to lStartcolor (line n); both are translated in place.
    // bH: n = X2 columns from Y to row Y2; otherwise n = Y2 rows from X to column X2.
    static void DrawGradient(ColourRef& lEndColor, ColourRef& lStartcolor, int X, int Y, int X2,
                             int Y2, DrawSurface& hdc, bool bH);
    // Copies part of the off-screen surface onto `hdc`; a size below 1 means the surface's own.
    void pDraw(DrawSurface& hdc, int xSrc, int ySrc, int WidthSrc, int HeightSrc, int xDst,
               int yDst) const;

    // The form's stored values.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // What the window shows: the client-sized corner of the surface.
    QImage frame() const;
    // Where the text went at the last redraw that drew text.
    DrawRect textRect() const { return m_textRect; }

signals:
    void propertyChanged(QString name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Each group calls only the groups below it.
    // xp_progress_bar.cpp: the off-screen surface, and the frame drawn on it for the window.
    void renderFrame();
    bool EnsureSurface(int w, int h);
    void ReleaseSurface();

    // progress_bar_painting.cpp: one frame, with the looks other than the XP ones and the text.
    void paintFrame();
    void drawClassicLook(ColourRef c, double p);
    void drawSilverGradient(ColourRef c, double p);
    void drawText(ColourRef c, double p);

    // progress_bar_xp_look.cpp: the XP looks.
    void ComputeXPFill(double p);
    void DrawXPFill(ColourRef c, double p);
    void DrawXPGaps();
    void DrawXPFrame();

    // progress_bar_drawing.cpp: boxes on the surface, beside the public DrawLine and DrawGradient.
    void FrameBox(const DrawRect& rect, ColourRef colour);
    void FillBox(const DrawRect& rect, ColourRef colour);

    ColourRef m_color = 0;
    std::int32_t m_max = 100;
    std::int32_t m_min = 0;
    std::int32_t m_fillPercent = 0;
    bool m_showText = false;
    std::int32_t m_scrolling = XPBlocks;
    std::int32_t m_orientation = Horizontal;
    std::int32_t m_brushStyle = 0;
    QImage m_image;
    PictureValue m_imageSource; // how m_image was stored, kept so saving writes it back alike
    QPointer<QWidget> m_hwnd;

    DrawSurface m_surface;
    bool m_drawsToSurface = false;
    bool m_readingProperties = false;

    DrawRect m_clientRect;
    DrawRect m_barRect;
    DrawRect m_gapRect;
    DrawRect m_textRect;
    int m_blockWidth = 0;
    int m_gap = 2;
    double m_fraction = 0.0;
};
