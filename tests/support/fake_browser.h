#pragma once

#include "platform/browser/browser.h"

#include <string>
#include <vector>

// Keeps every address it is asked to show; `works` false plays a desktop without a browser.
class FakeBrowser : public Browser {
public:
    void openNewWindow(const std::string& url, std::function<void()> failed) override {
        opened.push_back(url);
        if (!works)
            failed();
    }
    std::vector<std::string> opened;
    bool works = true;
};
