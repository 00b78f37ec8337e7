#pragma once

#include "platform/browser/browser.h"

#include <QObject>

#include <chrono>

// The browser the desktop's opener (xdg-open) picks for web addresses. Whether it opens a
// window or a tab of a running browser is the desktop's choice. The opener runs beside the
// window and its exit status is watched: one that finds no browser fails, and says so.
class DesktopBrowser : public Browser {
public:
    // An opener still running after `patience` has started a browser that it waits for (as the
    // generic one does), and counts as a success.
    explicit DesktopBrowser(std::chrono::milliseconds patience = std::chrono::seconds(20));
    ~DesktopBrowser() override;
    DesktopBrowser(const DesktopBrowser&) = delete;
    DesktopBrowser& operator=(const DesktopBrowser&) = delete;

    void openNewWindow(const std::string& url, std::function<void()> failed) override;

private:
    std::chrono::milliseconds m_patience;
    // Parent of the openers still running, so that none outlives this object.
    QObject m_openers;
};
