#pragma once

#include <functional>
#include <string>

// The desktop's web browser.
class Browser {
public:
    virtual ~Browser() = default;
    // Shows `url` in a new browser window without holding the caller. When no browser can be
    // started, `failed` runs once on the caller's thread: at once, or later, when the desktop's
    // opener has given up.
    virtual void openNewWindow(const std::string& url, std::function<void()> failed) = 0;
};
