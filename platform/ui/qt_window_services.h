#pragma once

#include "platform/ui/window_services.h"

class QWidget;

class QtWindowServices : public WindowServices {
public:
    ScreenPoint cursorPos() const override;
    void deleteMenuCommand(WindowHandle window, std::uint32_t command) override;
    void enterContextHelp(WindowHandle window) override;

    // The top-level widget of this process with that handle, or null.
    static QWidget* findWindow(WindowHandle window);
};
