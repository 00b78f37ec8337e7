#pragma once

#include "platform/mci/command_device.h"
#include "platform/spool/take_spool.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CopyProgress;
struct SetValues;
enum class CommandError : int;

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
class WaveAudioCommandDevice : public CommandDevice {
public:
    // Takes live in `spoolFolder`. A copy to another file system reports to `progress`.
    explicit WaveAudioCommandDevice(std::string spoolFolder = TakeSpool::defaultFolder(),
                                    CopyProgress* progress = nullptr);
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
    // Returns `code` and makes errorString give `text` for it until the next failure.
    int fail(CommandError code, std::string text);

    TakeSpool m_spool;
    CopyProgress* m_progress;
    std::map<std::string, std::unique_ptr<Device>> m_devices; // by alias in lower case
    int m_lastCode = 0;
    std::string m_lastText;
};

std::unique_ptr<CommandDevice> makeWaveAudioCommandDevice(CopyProgress* progress = nullptr);
