// What the mouse, the keyboard, the hover timer and Value do to the button, and the events it
// raises for them.

#include "controls/bevel_button/bvl_button.h"

#include "controls/bevel_button/bvl_button_accessible.h"
#include "controls/bevel_button/cursor_over.h"
#include "controls/bevel_button/host_codes.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

void bvlBUTTON::mousePressEvent(QMouseEvent* event) {
    const std::int16_t button = HostCodes::mouseButtons(event->button());
    if (button == 0)
        return; // a button the events have no code for
    m_pressedButtons |= event->button();
    const QPointF p = event->position();
    OnMouseDown(button, HostCodes::shiftState(event->modifiers()), float(p.x()), float(p.y()));
}

void bvlBUTTON::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position();
    OnMouseMove(HostCodes::mouseButtons(event->buttons()),
                HostCodes::shiftState(event->modifiers()), float(p.x()), float(p.y()));
}

void bvlBUTTON::mouseReleaseEvent(QMouseEvent* event) {
    const std::int16_t button = HostCodes::mouseButtons(event->button());
    if (button == 0)
        return;
    // Where the release happened decides both the release rules and the click, in one test: by
    // the time a busy window handles the release the cursor may be elsewhere, and an option
    // button must never raise its click without taking its Value.
    const bool over = IsPointOver(this, event->position().toPoint());
    // A press and a release, both on the button, of a mouse button that MouseKeys accepts make
    // the host's click: with the default MouseKeys a right click does not start a recording.
    const bool click =
        (button & m_mouseKeys) == button && (m_pressedButtons & event->button()) && over;
    m_pressedButtons &= ~event->button();
    const QPointF p = event->position();
    OnMouseUp(button, HostCodes::shiftState(event->modifiers()), float(p.x()), float(p.y()), over);
    if (click)
        OnClick();
}

void bvlBUTTON::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is the double click; its release makes no click.
    m_pressedButtons = {};
    if (HostCodes::mouseButtons(event->button()) != 0)
        OnDblClick();
}

void bvlBUTTON::keyPressEvent(QKeyEvent* event) {
    // Keys are reported whether the button is enabled or not, and never press it.
    emit KeyDown(HostCodes::keyCode(*event), HostCodes::shiftState(event->modifiers()));
    if (const std::int16_t ascii = HostCodes::keyAscii(*event))
        emit KeyPress(ascii);
    event->accept();
}

void bvlBUTTON::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat())
        emit KeyUp(HostCodes::keyCode(*event), HostCodes::shiftState(event->modifiers()));
    event->accept();
}

void bvlBUTTON::OnMouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    if ((Button & m_mouseKeys) != Button || !m_enabled)
        return;
    m_mouseIsDown = true;
    m_buttonState = StateDown | StateHover;
    PaintButton(false);
    emit MouseDown(Button, Shift, X, Y);
}

void bvlBUTTON::OnMouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    if (!m_enabled)
        return;
    if (IsCursorOver(this))
        m_buttonState |= StateHover;
    else
        m_buttonState &= ~StateHover;
    PaintButton(false);
    if (!tmrRCB.isActive())
        tmrRCB.start();
    if (m_buttonState & StateDown) {
        X -= 2;
        Y -= 2;
    }
    emit MouseMove(Button, Shift, X, Y);
}

void bvlBUTTON::OnMouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y, bool over) {
    if (!m_enabled)
        return;
    ApplyRelease(over);
    if (over)
        emit MouseUp(Button, Shift, X, Y);
    PaintButton(false);
    m_mouseIsDown = false;
}

// The state and Value a release leaves. Behaviour values past Option are Command buttons, so
// that a pressed button never stays sunken.
void bvlBUTTON::ApplyRelease(bool over) {
    if (over) {
        switch (m_behaviour) {
        case Check:
            if (m_value) {
                setValue(false);
                m_buttonState = StateHover;
            } else {
                setValue(true);
            }
            break;
        case Option:
            if (!m_value)
                setValue(true);
            break;
        default:
            m_buttonState = StateHover;
        }
        return;
    }
    if (m_behaviour == Check || m_behaviour == Option)
        m_buttonState = m_value ? StateDown : 0;
    else
        m_buttonState = 0;
}

void bvlBUTTON::OnClick() {
    if (m_enabled)
        emit Click();
}

void bvlBUTTON::OnDblClick() {
    if (m_enabled)
        emit DblClick();
}

// A disabled button does not act on its access key: no flash and no click.
void bvlBUTTON::AccessKeyPress() {
    if (!m_enabled)
        return;
    Flash();
    emit Click();
}

void bvlBUTTON::AccessiblePress() {
    if (!m_enabled)
        return;
    m_mouseIsDown = true; // the one click comes below, as after a mouse release
    ApplyRelease(true);
    if (!IsCursorOver(this))
        m_buttonState &= ~StateHover;
    PaintButton(false);
    m_mouseIsDown = false;
    OnClick();
}

void bvlBUTTON::Flash() {
    if (!m_enabled)
        return;
    m_buttonState = FlashState;
    PaintButton(false);
    if (!tmrRCB.isActive())
        tmrRCB.start();
}

// The host says nothing when the cursor leaves, so the timer looks while the cursor is over
// the button or a flash shows.
void bvlBUTTON::tmrRCB_Timer() {
    if (!IsCursorOver(this)) {
        tmrRCB.stop();
        if (m_buttonState == FlashState) {
            m_buttonState = 0;
        } else {
            m_buttonState &= ~StateHover;
            emit MouseExit();
        }
    } else if (m_buttonState == FlashState) {
        m_buttonState = StateHover;
        tmrRCB.stop();
    }
    PaintButton(false);
}

void bvlBUTTON::setValue(bool New_Value) {
    // Only Check and Option buttons hold a Value; Behaviour values past Option are Command.
    if ((m_behaviour != Check && m_behaviour != Option) || New_Value == m_value)
        return;
    m_value = New_Value;
    if (New_Value) {
        if (m_behaviour == Option) {
            ClearOptionSiblings(); // clears this button too
            m_value = true;
        }
        m_buttonState |= StateDown;
        if (!m_mouseIsDown)
            emit Click();
    } else {
        m_buttonState &= ~StateDown;
        if (m_behaviour == Check && !m_mouseIsDown)
            emit Click();
    }
    PaintButton(true);
    emit propertyChanged(QStringLiteral("Value"));
    notifyBevelButtonState(this);
}

// Every option button of the form whose container has this button's container's name is
// cleared, this one included. Containers are matched by name, so two containers of one name
// make one group.
void bvlBUTTON::ClearOptionSiblings() {
    const QWidget* container = parentWidget();
    const QString group = container ? container->objectName() : QString();
    QList<QPointer<bvlBUTTON>> controls;
    for (bvlBUTTON* control : window()->findChildren<bvlBUTTON*>())
        controls.append(control);
    if (window() == this)
        controls.prepend(this);
    for (const QPointer<bvlBUTTON>& control : controls) {
        if (!control)
            continue; // gone during the sweep
        const QWidget* its = control->parentWidget();
        if (its && its->objectName() != group)
            continue;
        if (control->Behaviour() == Option && control->Value())
            control->setValue(false);
    }
}
