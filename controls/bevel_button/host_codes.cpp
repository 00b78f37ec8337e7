#include "controls/bevel_button/host_codes.h"

#include <QKeyEvent>

namespace HostCodes {

std::int16_t mouseButtons(Qt::MouseButtons buttons) {
    std::int16_t code = 0;
    if (buttons & Qt::LeftButton)
        code |= LeftButton;
    if (buttons & Qt::RightButton)
        code |= RightButton;
    if (buttons & Qt::MiddleButton)
        code |= MiddleButton;
    return code;
}

std::int16_t shiftState(Qt::KeyboardModifiers modifiers) {
    std::int16_t code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

std::int16_t keyCode(const QKeyEvent& event) {
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::int16_t>(key); // the same codes as their capital characters
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<std::int16_t>(112 + (key - Qt::Key_F1));
    struct Pair {
        int key;
        std::int16_t code;
    };
    static constexpr Pair kKeys[] = {
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},
        {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},
        {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},      {Qt::Key_Pause, 19},
        {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},   {Qt::Key_Space, 32},
        {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
        {Qt::Key_Home, 36},     {Qt::Key_Left, 37},     {Qt::Key_Up, 38},
        {Qt::Key_Right, 39},    {Qt::Key_Down, 40},     {Qt::Key_Insert, 45},
        {Qt::Key_Delete, 46},   {Qt::Key_Menu, 93},     {Qt::Key_NumLock, 144},
    };
    for (const Pair& p : kKeys)
        if (p.key == key)
            return p.code;
    return 0;
}

std::int16_t keyAscii(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    return static_cast<std::int16_t>(text.front().unicode());
}

} // namespace HostCodes
