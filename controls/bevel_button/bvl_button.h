#pragma once

#include "platform/drawing/colour.h"
#include "platform/drawing/draw_rect.h"
#include "platform/drawing/draw_region.h"
#include "platform/drawing/draw_surface.h"
#include "platform/forms/property_bag.h"

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class MessageBox;
class QShortcut;

// Where a picture goes on the face; all zero when there is no picture.
struct PicturePlacement {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int16_t Width = 0;
    std::int16_t Height = 0;
    friend bool operator==(const PicturePlacement&, const PicturePlacement&) = default;
};

// A self-drawn button: a command, check or option button with a shaded bevel in one of four
// shapes, a caption and a picture. Both faces (raised and sunken) and the masked and greyed
// copies of the pictures are prepared off-screen whenever size, shape, colour, bevel or
// pictures change; a state change then only copies the prepared images and draws the caption.
//
// The instance's name is its objectName(), its container its parentWidget(), and its font the
// widget's font. Enabled is the button's own: the widget itself stays enabled so that a
// disabled button still receives its keys.
class bvlBUTTON : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("AccessKeys", "Returns/sets a Key that when pressed with the Alt key will trigger "
                              "the button's Click event.")
    Q_CLASSINFO("Appearance", "Returns/sets the shape of the button to use.")
    Q_CLASSINFO("BackColour", "Returns/sets the basic colour of the button.")
    Q_CLASSINFO("Behaviour", "Returns/sets a value which determines whether the button will behave "
                             "as a Command Button, Option Button or Check Button.")
    Q_CLASSINFO("BevelAutoAdjust",
                "Returns/sets a value which determines if the Bevel Height is automatically set.")
    Q_CLASSINFO("BevelHeight", "Returns/sets the height (in pixels) of the bevel. Only functional "
                               "when BevelAutoAdjust is set to False.")
    Q_CLASSINFO("Caption", "Returns/sets the Text to appear on the button.")
    Q_CLASSINFO("CaptionColour", "Return/sets the colour of the Text on the button when the cursor "
                                 "is NOT above the button.")
    Q_CLASSINFO("CaptionHoverColour", "Return/sets the colour of the Text on the button when the "
                                      "cursor is Above the button.")
    Q_CLASSINFO("CaptionJustify",
                "Returns/sets where Text is to primarily be located on the button.")
    Q_CLASSINFO("CaptionOffset", "Returns/sets the amount of Pixels in cartesian co-ordinates "
                                 "(x,y) to offset the Text on the button by.")
    Q_CLASSINFO("Enabled", "Returns/sets a value that determines whether an object can respond to "
                           "user-generated events.")
    Q_CLASSINFO("Font", "Returns a Font object.")
    Q_CLASSINFO("MouseIcon", "Sets a Custom Mouse Icon.")
    Q_CLASSINFO("MouseKeys", "Returns/sets which Mouse Buttons the control will respond to.")
    Q_CLASSINFO("MousePointer",
                "Returns/sets the type of mouse pointer displayed when over part of an object.")
    Q_CLASSINFO("Picture", "Returns/sets the graphic to be displayed on the button when the cursor "
                           "is NOT ABOVE the button.")
    Q_CLASSINFO("PictureHover", "Returns/sets the graphic to be displayed on the button when the "
                                "cursor is ABOVE the button.")
    Q_CLASSINFO("PictureJustify",
                "Returns/sets where the active Picture is to primarily be located on the button.")
    Q_CLASSINFO("PictureOffset", "Returns/sets the amount of Pixels in cartesian co-ordinates "
                                 "(x,y) to offset the active Picture by.")
    Q_CLASSINFO("Transparency",
                "Returns/sets the colour that specifies transparent areas in all Button pictures.")
    Q_CLASSINFO("UseTransparency", "Returs/sets a value that determines whether the Transparency "
                                   "colour is to be applied when drawing button pictures.")
    Q_CLASSINFO("Value", "Returns/sets the value of the button when it is set to behave as a Check "
                         "or Option button.")

public:
    // The shapes of property Appearance. An Ellipse forces the control into a circle.
    enum ButtonShape : std::int32_t {
        Rectangle = 0,
        Ellipse = 1,
        RoundedRectangle = 2,
        Capsule = 3
    };

    // Property Behaviour: Command is momentary, Check toggles Value, Option sets Value and clears
    // the other option buttons of its container. The other values 3..255 act as Command.
    enum ButtonBehaviour : std::uint8_t { Command = 0, Check = 1, Option = 2 };

    // Properties CaptionJustify and PictureJustify.
    enum ContentJustify : std::int32_t {
        TopLeft = 0,
        TopCentre = 1,
        TopRight = 2,
        MiddleLeft = 3,
        MiddleCentre = 4,
        MiddleRight = 5,
        BottomLeft = 6,
        BottomCentre = 7,
        BottomRight = 8
    };

    // Property MouseKeys: the mouse buttons that press the button.
    enum MouseKeysBits : std::int32_t { MouseLeft = 1, MouseRight = 2, MouseMiddle = 4 };

    // ButtonState bits. A flash sets the whole state to StateFlash + StateHover + StateDown.
    static constexpr int StateDown = 1;
    static constexpr int StateHover = 2;
    static constexpr int StateDisabled = 4;
    static constexpr int StateFlash = 8;
    static constexpr int FlashState = StateFlash | StateHover | StateDown;

    static constexpr int kTimerInterval = 125; // ms, hover polling and the end of a flash

    // `messages` shows the offset validation messages; without one the control uses real
    // message boxes of its own.
    explicit bvlBUTTON(QWidget* parent = nullptr, MessageBox* messages = nullptr);
    ~bvlBUTTON() override;

    // Properties. Every setter reports the change through propertyChanged (the offset setters
    // and Value only when they change something).
    QString AccessKeys() const { return m_accessKeys; }
    void setAccessKeys(const QString& New_AccessKeys);
    std::int32_t Appearance() const { return m_appearance; }
    void setAppearance(std::int32_t New_Appearance);
    ColourRef BackColour() const { return m_backColour; }
    void setBackColour(ColourRef New_BackColour);
    std::uint8_t Behaviour() const { return m_behaviour; }
    // A value outside 0..255 overflows: nothing changes and false is returned.
    bool setBehaviour(std::int32_t New_Behaviour);
    bool BevelAutoAdjust() const { return m_bevelAutoAdjust; }
    void setBevelAutoAdjust(bool New_BevelAutoAdjust);
    // After a render with BevelAutoAdjust on, the height the renderer chose.
    std::int16_t BevelHeight() const { return m_bevelHeight; }
    void setBevelHeight(std::int16_t New_BevelHeight);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& New_Caption);
    ColourRef CaptionColour() const { return m_captionColour; }
    void setCaptionColour(ColourRef New_CaptionColour);
    ColourRef CaptionHoverColour() const { return m_captionHoverColour; }
    void setCaptionHoverColour(ColourRef New_CaptionHoverColour);
    std::int32_t CaptionJustify() const { return m_captionJustify; }
    void setCaptionJustify(std::int32_t New_CaptionJustify);
    QString CaptionOffset() const { return QString::fromStdString(m_captionOffset); }
    void setCaptionOffset(const QString& New_CaptionOffset);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool New_Enabled); // the button's own Enabled; see the class comment
    // The font is the widget's (QWidget::setFont); a change repaints and is reported.
    QFont Font() const { return font(); }
    QWidget* hwnd() { return this; }
    QImage MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QImage& New_MouseIcon);
    std::int32_t MouseKeys() const { return m_mouseKeys; }
    void setMouseKeys(std::int32_t New_MouseKeys);
    // 0 default, 1 arrow, 2 cross, 3 I-beam, 5 and 15 size all, 6 to 9 the four sizing
    // arrows, 10 up arrow, 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and
    // question mark, 99 MouseIcon; any other code shows the default pointer.
    std::int16_t MousePointer() const { return m_mousePointer; }
    void setMousePointer(std::int16_t New_MousePointer);
    QImage Picture() const { return picBASIC.image(); }
    void setPicture(const QImage& New_Picture);
    QImage PictureHover() const { return picHOVER.image(); }
    void setPictureHover(const QImage& New_PictureHover);
    std::int32_t PictureJustify() const { return m_pictureJustify; }
    void setPictureJustify(std::int32_t New_PictureJustify);
    QString PictureOffset() const { return QString::fromStdString(m_pictureOffset); }
    void setPictureOffset(const QString& New_PictureOffset);
    ColourRef Transparency() const { return m_transparency; }
    void setTransparency(ColourRef New_Transparency);
    bool UseTransparency() const { return m_useTransparency; }
    void setUseTransparency(bool New_UseTransparency);
    // Takes effect with Behaviour Check or Option only; other values act as Command throughout.
    bool Value() const { return m_value; }
    void setValue(bool New_Value);

    // Methods: Refresh re-shapes, re-renders and repaints; Flash shows the button pressed until
    // the next timer tick.
    void Refresh();
    void Flash();

    // Stored values: a new instance's defaults, and reading and writing the form's bag.
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // Painting: both face images and the picture strip, then the face for the current state.
    // Unforced, PaintButton does nothing while the state is the one last painted.
    void RenderBevels();
    void PaintButton(bool force);

    // What the button shows and holds, for the window and for tests.
    int ButtonState() const { return m_buttonState; }
    int LastPaintedState() const { return m_lastPaintedState; }
    bool MouseIsDown() const { return m_mouseIsDown; }
    DrawRect CaptionRect() const { return m_captionRect; }
    DrawRect PictureRect() const { return m_pictureRect; }
    PicturePlacement PicturePlace() const { return m_picturePlace; }
    PicturePlacement HoverPlace() const { return m_hoverPlace; }
    const DrawSurface& face() const { return m_face; }
    const DrawSurface& raisedFace() const { return picRAISED; }
    const DrawSurface& sunkenFace() const { return picSUNKEN; }
    const DrawSurface& pictureStrip() const { return picWORK; }
    const DrawRegion& outline() const { return m_outline; }
    bool timerActive() const { return tmrRCB.isActive(); }

    // Host notifications that do not come as Qt events: an access key (one of AccessKeys
    // with Alt), and the hover timer's tick.
    void AccessKeyPress();
    void tmrRCB_Timer();
    // The press an assistive tool asks for: the same road as a mouse click on the button. The
    // accessible Press action queues it, so the tool's call returns before the click runs.
    void AccessiblePress();

signals:
    // The button's events, in this order.
    void Click();
    void DblClick();
    void KeyDown(std::int16_t KeyCode, std::int16_t Shift);
    void KeyPress(std::int16_t KeyAscii);
    void KeyUp(std::int16_t KeyCode, std::int16_t Shift);
    void MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void MouseExit();
    void MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);

    // A property changed, by its name, so that a designer marks the form as modified.
    void propertyChanged(QString name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // bvl_button_painting.cpp
    void HandleResize();
    void BuildPictureStrip();
    void LayoutContent();
    void PlacePicture(const DrawSurface& surface, PicturePlacement& placement);
    void DrawPicture();
    void DrawCaption();

    // bvl_button_input.cpp
    void OnMouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void OnMouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
    // `over`: the release happened over the button (IsPointOver at the release's position).
    void OnMouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y, bool over);
    void ApplyRelease(bool over);
    void OnClick();
    void OnDblClick();
    void ClearOptionSiblings();

    // bvl_button.cpp (the property setters)
    bool SetOffset(const QString& text, std::string& stored, std::int16_t& x, std::int16_t& y);
    void ApplyAccessKeys();
    void ApplyMousePointer();

    std::unique_ptr<MessageBox> m_ownMessages; // when the window gives none
    MessageBox& m_messages;

    // Property fields.
    std::int32_t m_appearance = 0;
    ColourRef m_backColour = 0;
    std::uint8_t m_behaviour = 0;
    bool m_bevelAutoAdjust = false;
    std::int16_t m_bevelHeight = 0;
    QString m_caption;
    ColourRef m_captionColour = 0;
    ColourRef m_captionHoverColour = 0;
    std::int32_t m_captionJustify = 0;
    std::string m_captionOffset;
    std::int16_t m_captionX = 0;
    std::int16_t m_captionY = 0;
    bool m_enabled = false;
    std::int32_t m_mouseKeys = 0;
    std::int32_t m_pictureJustify = 0;
    std::string m_pictureOffset;
    std::int16_t m_pictureX = 0;
    std::int16_t m_pictureY = 0;
    ColourRef m_transparency = 0;
    bool m_useTransparency = false;
    bool m_value = false;

    // Held for the host: access keys, pointer, and how stored pictures were given, so that
    // saving writes them back alike.
    QString m_accessKeys;
    std::vector<QShortcut*> m_shortcuts;
    std::int16_t m_mousePointer = 0;
    QImage m_mouseIcon;
    PictureValue m_pictureSource;
    PictureValue m_hoverSource;
    PictureValue m_mouseIconSource;

    // The constituent surfaces and the timer.
    QTimer tmrRCB;
    DrawSurface picRAISED;
    DrawSurface picSUNKEN;
    DrawSurface picBASIC;
    DrawSurface picHOVER;
    DrawSurface picWORK;
    DrawSurface m_face; // what the window shows; stays until the next paint

    // Bookkeeping.
    bool m_loading = false;
    bool m_terminated = false;
    bool m_mouseIsDown = false;
    bool m_resizing = false;
    int m_buttonState = 0;
    int m_lastPaintedState = 0;
    DrawRect m_captionRect;
    DrawRect m_pictureRect;
    PicturePlacement m_picturePlace;
    PicturePlacement m_hoverPlace;
    DrawRegion m_outline;
    // Mouse buttons pressed on the button and not yet released: a release of one of them over
    // the button is the host's click.
    Qt::MouseButtons m_pressedButtons;
};
