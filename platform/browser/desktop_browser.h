#pragma once

#include "platform/browser/browser.h"

// The browser the desktop's URL handler picks for web addresses. Whether it opens a window or
// a tab of a running browser is the desktop's choice.
class DesktopBrowser : public Browser {
public:
    bool openNewWindow(const std::string& url) override;
};
