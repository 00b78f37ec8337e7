#pragma once

#include "platform/ui/message_box.h"

// Message boxes that nobody answers, for benchmarks that run without a user.
class SilentMessageBox : public MessageBox {
public:
    MessageAnswer show(const std::string&, const std::string&, MessageIcon,
                       MessageButtons) override {
        return MessageAnswer::Ok;
    }
};
