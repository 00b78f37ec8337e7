#pragma once

#include <QFlags>
#include <Qt>

#include <cstdint>

class QKeyEvent;

// The button and shift codes the button's mouse and key events carry.
namespace HostCodes {

// Mouse buttons: 1 left, 2 right, 4 middle.
constexpr std::int16_t LeftButton = 1;
constexpr std::int16_t RightButton = 2;
constexpr std::int16_t MiddleButton = 4;
std::int16_t mouseButtons(Qt::MouseButtons buttons);

// Shift state: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t shiftState(Qt::KeyboardModifiers modifiers);

// The key code of a key event (65 for A, 13 for Enter, 112 for F1, ...); 0 for keys without one.
std::int16_t keyCode(const QKeyEvent& event);

// The character a key event types, or 0 when it types none.
std::int16_t keyAscii(const QKeyEvent& event);

} // namespace HostCodes
