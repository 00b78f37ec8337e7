#include "controls/bevel_button/bvl_button.h"

#include "controls/bevel_button/bvl_button_accessible.h"
#include "controls/bevel_button/cartesian.h"
#include "platform/ui/qt_message_box.h"

#include <QCursor>
#include <QEvent>
#include <QKeySequence>
#include <QPixmap>
#include <QShortcut>

bvlBUTTON::bvlBUTTON(QWidget* parent, MessageBox* messages)
    : QWidget(parent), m_ownMessages(messages ? nullptr : std::make_unique<QtMessageBox>(this)),
      m_messages(messages ? *messages : *m_ownMessages) {
    installBevelButtonAccessibility();
    // The face covers every pixel inside the outline; outside it the form shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves arrive without a button held too: they start the hover look.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    tmrRCB.setInterval(kTimerInterval);
    connect(&tmrRCB, &QTimer::timeout, this, &bvlBUTTON::tmrRCB_Timer);

    InitProperties();
}

bvlBUTTON::~bvlBUTTON() {
    m_terminated = true;
    tmrRCB.stop();
}

void bvlBUTTON::Refresh() {
    HandleResize();
}

void bvlBUTTON::setAccessKeys(const QString& New_AccessKeys) {
    m_accessKeys = New_AccessKeys;
    ApplyAccessKeys();
    emit propertyChanged(QStringLiteral("AccessKeys"));
}

// Each character of AccessKeys, pressed with Alt anywhere in the window, is an access key.
void bvlBUTTON::ApplyAccessKeys() {
    for (QShortcut* shortcut : m_shortcuts)
        delete shortcut;
    m_shortcuts.clear();
    for (const QChar c : m_accessKeys) {
        if (c.isSpace())
            continue;
        const QKeySequence keys = QKeySequence::fromString(QStringLiteral("Alt+") + c.toUpper());
        if (keys.isEmpty())
            continue;
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &bvlBUTTON::AccessKeyPress);
        m_shortcuts.push_back(shortcut);
    }
}

void bvlBUTTON::setAppearance(std::int32_t New_Appearance) {
    m_appearance = New_Appearance;
    HandleResize();
    emit propertyChanged(QStringLiteral("Appearance"));
}

void bvlBUTTON::setBackColour(ColourRef New_BackColour) {
    m_backColour = New_BackColour;
    RenderBevels();
    emit propertyChanged(QStringLiteral("BackColour"));
}

bool bvlBUTTON::setBehaviour(std::int32_t New_Behaviour) {
    if (New_Behaviour < 0 || New_Behaviour > 255)
        return false;
    m_behaviour = static_cast<std::uint8_t>(New_Behaviour);
    emit propertyChanged(QStringLiteral("Behaviour"));
    notifyBevelButtonState(this);
    return true;
}

void bvlBUTTON::setBevelAutoAdjust(bool New_BevelAutoAdjust) {
    m_bevelAutoAdjust = New_BevelAutoAdjust;
    RenderBevels();
    emit propertyChanged(QStringLiteral("BevelAutoAdjust"));
}

void bvlBUTTON::setBevelHeight(std::int16_t New_BevelHeight) {
    m_bevelHeight = New_BevelHeight;
    RenderBevels();
    emit propertyChanged(QStringLiteral("BevelHeight"));
}

void bvlBUTTON::setCaption(const QString& New_Caption) {
    m_caption = New_Caption;
    PaintButton(true);
    emit propertyChanged(QStringLiteral("Caption"));
    notifyBevelButtonName(this);
}

void bvlBUTTON::setCaptionColour(ColourRef New_CaptionColour) {
    m_captionColour = New_CaptionColour;
    PaintButton(true);
    emit propertyChanged(QStringLiteral("CaptionColour"));
}

void bvlBUTTON::setCaptionHoverColour(ColourRef New_CaptionHoverColour) {
    m_captionHoverColour = New_CaptionHoverColour;
    emit propertyChanged(QStringLiteral("CaptionHoverColour"));
}

void bvlBUTTON::setCaptionJustify(std::int32_t New_CaptionJustify) {
    m_captionJustify = New_CaptionJustify;
    LayoutContent();
    PaintButton(true);
    emit propertyChanged(QStringLiteral("CaptionJustify"));
}

// The offset keeps its old value when the text is rejected; the user has seen why.
bool bvlBUTTON::SetOffset(const QString& text, std::string& stored, std::int16_t& x,
                          std::int16_t& y) {
    std::string copy = text.toStdString();
    std::int16_t newX = x;
    std::int16_t newY = y;
    if (!ParseCartesian(copy, newX, newY, m_messages))
        return false;
    stored = copy;
    x = newX;
    y = newY;
    LayoutContent();
    PaintButton(true);
    return true;
}

void bvlBUTTON::setCaptionOffset(const QString& New_CaptionOffset) {
    if (SetOffset(New_CaptionOffset, m_captionOffset, m_captionX, m_captionY))
        emit propertyChanged(QStringLiteral("CaptionOffset"));
}

void bvlBUTTON::setEnabled(bool New_Enabled) {
    m_enabled = New_Enabled;
    if (New_Enabled)
        m_buttonState &= ~StateDisabled;
    else
        m_buttonState |= StateDisabled;
    PaintButton(true);
    emit propertyChanged(QStringLiteral("Enabled"));
    notifyBevelButtonEnabled(this);
}

void bvlBUTTON::setMouseIcon(const QImage& New_MouseIcon) {
    m_mouseIcon = New_MouseIcon;
    m_mouseIconSource = {};
    ApplyMousePointer();
    emit propertyChanged(QStringLiteral("MouseIcon"));
}

void bvlBUTTON::setMouseKeys(std::int32_t New_MouseKeys) {
    m_mouseKeys = New_MouseKeys;
    emit propertyChanged(QStringLiteral("MouseKeys"));
}

void bvlBUTTON::setMousePointer(std::int16_t New_MousePointer) {
    m_mousePointer = New_MousePointer;
    ApplyMousePointer();
    emit propertyChanged(QStringLiteral("MousePointer"));
}

void bvlBUTTON::ApplyMousePointer() {
    static constexpr Qt::CursorShape kShapes[] = {
        Qt::ArrowCursor,     // 0 default
        Qt::ArrowCursor,     // 1 arrow
        Qt::CrossCursor,     // 2 cross
        Qt::IBeamCursor,     // 3 I-beam
        Qt::ArrowCursor,     // 4 icon
        Qt::SizeAllCursor,   // 5 size
        Qt::SizeBDiagCursor, // 6 size north-east, south-west
        Qt::SizeVerCursor,   // 7 size north, south
        Qt::SizeFDiagCursor, // 8 size north-west, south-east
        Qt::SizeHorCursor,   // 9 size west, east
        Qt::UpArrowCursor,   // 10 up arrow
        Qt::WaitCursor,      // 11 hourglass
        Qt::ForbiddenCursor, // 12 no drop
        Qt::BusyCursor,      // 13 arrow and hourglass
        Qt::WhatsThisCursor, // 14 arrow and question mark
        Qt::SizeAllCursor,   // 15 size all
    };
    if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(QPixmap::fromImage(m_mouseIcon)));
    else if (m_mousePointer > 0 && m_mousePointer < static_cast<int>(std::size(kShapes)))
        setCursor(kShapes[m_mousePointer]);
    else
        unsetCursor();
}

void bvlBUTTON::setPicture(const QImage& New_Picture) {
    picBASIC.loadImage(New_Picture);
    m_pictureSource = {};
    BuildPictureStrip();
    PaintButton(true);
    emit propertyChanged(QStringLiteral("Picture"));
}

void bvlBUTTON::setPictureHover(const QImage& New_PictureHover) {
    picHOVER.loadImage(New_PictureHover);
    m_hoverSource = {};
    BuildPictureStrip();
    emit propertyChanged(QStringLiteral("PictureHover"));
}

void bvlBUTTON::setPictureJustify(std::int32_t New_PictureJustify) {
    m_pictureJustify = New_PictureJustify;
    LayoutContent();
    PaintButton(true);
    emit propertyChanged(QStringLiteral("PictureJustify"));
}

void bvlBUTTON::setPictureOffset(const QString& New_PictureOffset) {
    if (SetOffset(New_PictureOffset, m_pictureOffset, m_pictureX, m_pictureY))
        emit propertyChanged(QStringLiteral("PictureOffset"));
}

void bvlBUTTON::setTransparency(ColourRef New_Transparency) {
    m_transparency = New_Transparency;
    BuildPictureStrip();
    PaintButton(true);
    emit propertyChanged(QStringLiteral("Transparency"));
}

void bvlBUTTON::setUseTransparency(bool New_UseTransparency) {
    m_useTransparency = New_UseTransparency;
    BuildPictureStrip();
    PaintButton(true);
    emit propertyChanged(QStringLiteral("UseTransparency"));
}

void bvlBUTTON::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        PaintButton(true);
        emit propertyChanged(QStringLiteral("Font"));
    } else if (event->type() == QEvent::ToolTipChange) {
        notifyBevelButtonName(this); // the tool tip names a button without a caption
    }
    QWidget::changeEvent(event);
}
