#pragma once

#include "platform/ui/window_handle.h"

#include <cstdint>

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// Window-system services that work on windows named by handle, also windows that another
// library of the program opened.
class WindowServices {
public:
    virtual ~WindowServices() = default;
    // The mouse cursor, in screen co-ordinates.
    virtual ScreenPoint cursorPos() const = 0;
    // Removes the item with this command number from the window's own menu; nothing happens
    // when there is no such window or item.
    virtual void deleteMenuCommand(WindowHandle window, std::uint32_t command) = 0;
    // Puts the window into context-help mode: the next click on one of its controls shows that
    // control's help instead of acting.
    virtual void enterContextHelp(WindowHandle window) = 0;
};

// The property a window's QAction carries with its command number, so that deleteMenuCommand
// finds it whichever library built the window.
inline constexpr char kMenuCommandProperty[] = "menuCommand";
