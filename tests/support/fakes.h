#pragma once

// Stand-ins for the outside services, for unit tests only.

#include "platform/mci/command_device.h"
#include "platform/multimedia/multimedia_control.h"
#include "platform/system/clock.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/message_box.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct ShownBox {
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;
};

// Records every box and answers from a script (Ok once the script runs out).
class FakeMessageBox : public MessageBox {
public:
    MessageAnswer show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override {
        shown.push_back({text, title, icon, buttons});
        if (onShow)
            onShow();
        if (answers.empty())
            return MessageAnswer::Ok;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<ShownBox> shown;
    std::deque<MessageAnswer> answers;
    std::function<void()> onShow;
};

class FakeFileDialog : public FileDialog {
public:
    bool showSave() override { return choose(); }
    bool showOpen() override { return choose(); }
    std::string fileName() const override { return name; }
    void setFileName(const std::string& path) override { name = path; }

    std::string name;
    std::deque<std::string> choices; // empty entry = the user cancels
    int shows = 0;

private:
    bool choose() {
        ++shows;
        if (choices.empty())
            return false;
        const std::string c = choices.front();
        choices.pop_front();
        if (c.empty())
            return false;
        name = c;
        return true;
    }
};

// Each wait is one pass of window events: it runs whatever the test queued for that pass, then
// answers with the condition as it stands (one that does not hold stands for a wait that ran
// out).
class FakeEventPump : public EventPump {
public:
    bool waitUntil(const std::function<bool()>& ready, int timeoutMs) override {
        ++passes;
        lastWaitMs = timeoutMs;
        if (onPass)
            onPass(passes);
        return ready();
    }
    void wake() override { ++wakes; }

    int passes = 0;
    int lastWaitMs = -1;
    int wakes = 0;
    std::function<void(int)> onPass;
};

class FakeClock : public Clock {
public:
    double seconds() const override { return now; }
    double now = 1000.0;
};

// Records every command; answers with a scripted code per command (matched by its first words)
// and a scripted reply for "status".
class FakeCommandDevice : public CommandDevice {
public:
    int sendString(const std::string& command, std::string* reply, std::size_t replySize) override {
        sent.push_back(command);
        int code = 0;
        for (const auto& [prefix, c] : failures)
            if (command.rfind(prefix, 0) == 0)
                code = c;
        for (auto& [prefix, codes] : nextCodes)
            if (command.rfind(prefix, 0) == 0 && !codes.empty()) {
                code = codes.front();
                codes.pop_front();
            }
        if (onSend)
            onSend(command);
        if (reply) {
            std::string r = command.find("status") == 0 ? statusReply : std::string();
            if (replySize > 0 && r.size() > replySize - 1)
                r.resize(replySize - 1);
            *reply = r;
        }
        return code;
    }
    std::string errorString(int code) const override {
        return "fake error " + std::to_string(code);
    }

    std::vector<std::string> sent;
    std::map<std::string, int> failures; // command prefix -> code
    // command prefix -> the codes of the next such commands, one each, before `failures`
    std::map<std::string, std::deque<int>> nextCodes;
    std::string statusReply = "0";
    std::function<void(const std::string&)> onSend;
};

class FakeMultimediaControl : public MultimediaControl {
public:
    void setFileName(const std::string& path) override { file = path; }
    std::string fileName() const override { return file; }
    PlaybackResult setCommand(const std::string& command) override {
        commands.push_back(command);
        return {};
    }
    std::int32_t length() const override { return len; }
    std::int32_t position() const override { return pos; }

    std::string file;
    std::vector<std::string> commands;
    std::int32_t len = 0;
    std::int32_t pos = 0;
};
