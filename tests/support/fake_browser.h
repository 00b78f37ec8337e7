#pragma once

#include "platform/browser/browser.h"

#include <string>
#include <vector>

// Keeps every address it is asked to show; `works` false plays a desktop without a browser.
class FakeBrowser : public Browser {
public:
    bool openNewWindow(const std::string& url) override {
        opened.push_back(url);
        return works;
    }
    std::vector<std::string> opened;
    bool works = true;
};
