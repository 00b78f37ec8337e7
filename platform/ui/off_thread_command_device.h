#pragma once

#include "platform/mci/command_device.h"
#include "platform/ui/off_thread_calls.h"

class EventPump;
class SaveProgress;

// The command-string device with every command sent from a worker thread: opening, starting,
// reading and saving a take may each wait on the audio server or the disk, and the window's
// thread waits for them inside its event pump instead. The commands reach the device one at a
// time and in the order they were sent. A "save" that runs long is shown on `saves`.
class OffThreadCommandDevice : public CommandDevice {
public:
    OffThreadCommandDevice(CommandDevice& device, EventPump& pump, SaveProgress* saves = nullptr);

    int sendString(const std::string& command, std::string* reply, std::size_t replySize) override;
    std::string errorString(int code) const override;

private:
    CommandDevice& m_device;
    SaveProgress* m_saves;
    // The device's sentence for the last failure, fetched on the worker with the failure itself.
    int m_lastCode = 0;
    std::string m_lastText;
    mutable OffThreadCalls m_calls;
};
