#pragma once

#include "platform/mci/command_device.h"
#include "platform/mci/command_messages.h"
#include "platform/spool/take_spool.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CopyProgress;
struct SetValues;

// The "waveaudio" device behind the command strings: any number of new recordings, each under
// its own alias, recorded from the audio server's default source into a take in the spool
// folder and moved or copied to the target on "save".
//
// Nothing recorded is lost on the way: a failed "save" keeps the take, and "close" then leaves
// it in the spool folder and says where; "delete ALIAS" (no range: the whole take) is the one
// way to throw a take away that a save failed for. "close" after no save, as ever, discards.
// A take that ends on its own (the audio server gone, the disk full, a write error) is reported
// with its cause by "status", and "save" keeps what was recorded but does not report success.
//
// "open" does not touch the audio server; an unreachable server is reported by "record".
//
// The audio thread never waits for the disk: a take's sound goes through a ring to a writer
// thread of its own (TakeWriter), and while the disk is behind the stream's buffer holds more.
// A disk that stays behind longer than both hold ends the take early, with its cause. "stop"
// and "save" first read on until every sound recorded before them has come (see
// PulseRecordStream::drainToNow), and only then end the stream.
class WaveAudioCommandDevice : public CommandDevice {
public:
    // How much sound waits for a disk that is behind: in the take's ring, and in the stream.
    struct Buffers {
        std::size_t ringBytes;
        int streamHoldMs;
    };
    static const Buffers kDefaultBuffers;

    // Takes live in `spoolFolder`. A copy to another file system reports to `progress`.
    explicit WaveAudioCommandDevice(std::string spoolFolder = TakeSpool::defaultFolder(),
                                    CopyProgress* progress = nullptr,
                                    Buffers buffers = kDefaultBuffers);
    ~WaveAudioCommandDevice() override;

    int sendString(const std::string& command, std::string* reply, std::size_t replySize) override;
    std::string errorString(int code) const override;

    struct KeptTake {
        std::string alias;
        std::string path;
        double seconds = 0;
    };
    // Ends every recording and closes every device, keeping each unsaved take in the spool
    // folder (for an interrupted program). Returns where they are.
    std::vector<KeptTake> keepOpenTakes();

private:
    struct Device;

    int open(const std::string& alias);
    int set(Device& device, const SetValues& values);
    int record(Device& device, const std::string& alias);
    int statusLength(Device& device, std::string& reply);
    int save(Device& device, const std::string& path);
    int close(Device& device);
    // Returns the failure's code and makes errorString say it in words until the next failure.
    int fail(CommandFailure failure);

    TakeSpool m_spool;
    CopyProgress* m_progress;
    Buffers m_buffers;
    std::map<std::string, std::unique_ptr<Device>> m_devices; // by alias in lower case
    CommandFailure m_lastFailure;
};

std::unique_ptr<CommandDevice> makeWaveAudioCommandDevice(CopyProgress* progress = nullptr);
