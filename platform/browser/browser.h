#pragma once

#include <string>

// The desktop's web browser.
class Browser {
public:
    virtual ~Browser() = default;
    // Shows `url` in a new browser window; false when no browser could be started.
    virtual bool openNewWindow(const std::string& url) = 0;
};
