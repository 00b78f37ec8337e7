#include "platform/mci/waveaudio_command_device.h"

#include "common/ascii.h"
#include "platform/audio/pulse_record_stream.h"
#include "platform/mci/command_errors.h"
#include "platform/mci/command_parser.h"
#include "platform/mci/wav_temp_file.h"

struct WaveAudioCommandDevice::Device {
    // A plain waveaudio device starts out at 11025 Hz, 8 bit, mono, counting in milliseconds.
    WaveFormat format{11025, 8, 1};
    TimeFormat timeFormat = TimeFormat::Milliseconds;
    // The take outlives the stream that writes into it (members go in reverse order).
    std::unique_ptr<WavTempFile> take;
    std::unique_ptr<PulseRecordStream> stream;
    bool streamFailed = false;

    // Ends a running stream, keeping what it recorded and whether it broke.
    void stopStream() {
        if (!stream)
            return;
        stream->stop();
        streamFailed = streamFailed || stream->failed();
        stream.reset();
    }
    bool failed() const { return streamFailed || (stream && stream->failed()); }
};

WaveAudioCommandDevice::WaveAudioCommandDevice(std::string tempFolder)
    : m_tempFolder(std::move(tempFolder)) {}

WaveAudioCommandDevice::~WaveAudioCommandDevice() {
    for (auto& entry : m_devices)
        entry.second->stopStream();
}

int WaveAudioCommandDevice::sendString(const std::string& command, std::string* reply,
                                       std::size_t replySize) {
    if (reply)
        reply->clear();
    const ParseResult parsed = parseCommand(command);
    if (parsed.error != 0)
        return parsed.error;
    const ParsedCommand& cmd = parsed.command;

    if (cmd.verb == CommandVerb::Open)
        return open(cmd.alias);

    const auto it = m_devices.find(asciiLower(cmd.alias));
    if (it == m_devices.end())
        return toCode(CommandError::UnknownAlias);
    Device& device = *it->second;

    switch (cmd.verb) {
    case CommandVerb::Set:
        return set(device, cmd.values);
    case CommandVerb::Record:
        return record(device, cmd.alias);
    case CommandVerb::Stop:
        device.stopStream();
        return 0;
    case CommandVerb::StatusLength: {
        std::string text;
        const int error = statusLength(device, text);
        if (error == 0 && reply && replySize > 0)
            *reply = text.substr(0, replySize - 1);
        return error;
    }
    case CommandVerb::Save:
        return save(device, cmd.path);
    case CommandVerb::Close:
        device.stopStream();
        m_devices.erase(it);
        return 0;
    case CommandVerb::Open:
        break;
    }
    return toCode(CommandError::UnknownCommand);
}

std::string WaveAudioCommandDevice::errorString(int code) const {
    std::string text = commandErrorText(code);
    if (code == toCode(CommandError::SaveFailed) && !m_lastSaveFailure.empty())
        text += " (" + m_lastSaveFailure + ")";
    return text;
}

int WaveAudioCommandDevice::open(const std::string& alias) {
    const std::string key = asciiLower(alias);
    if (m_devices.count(key) != 0)
        return toCode(CommandError::AliasInUse);
    m_devices.emplace(key, std::make_unique<Device>());
    return 0;
}

int WaveAudioCommandDevice::set(Device& device, const SetValues& values) {
    WaveFormat format = device.format;
    if (values.bitsPerSample)
        format.bitsPerSample = *values.bitsPerSample;
    if (values.channels)
        format.channels = *values.channels;
    if (values.samplesPerSec)
        format.samplesPerSec = *values.samplesPerSec;
    // "bytespersec" is accepted and not used: the file's byte rate always follows from the rate,
    // channels and sample size, whatever figure the caller sends (the window sends 22500 always).

    if (format != device.format && device.take)
        return toCode(CommandError::FormatLocked);
    device.format = format;
    if (values.timeFormat)
        device.timeFormat = *values.timeFormat;
    return 0;
}

int WaveAudioCommandDevice::record(Device& device, const std::string& alias) {
    if (device.stream && !device.stream->failed())
        return 0; // already recording
    device.stopStream();

    // A later "record" after "stop" carries on in the same take.
    const bool newTake = !device.take;
    if (newTake) {
        std::string reason;
        device.take = WavTempFile::create(device.format, &reason, m_tempFolder);
        if (!device.take)
            return toCode(CommandError::StreamFailed);
    }
    auto stream = std::make_unique<PulseRecordStream>();
    const PulseRecordStream::StartResult result =
        stream->start(device.format, *device.take, "Sorvinta recording " + alias);
    if (result != PulseRecordStream::StartResult::Started) {
        if (newTake)
            device.take.reset();
        return toCode(result == PulseRecordStream::StartResult::ServerUnreachable
                          ? CommandError::ServerUnreachable
                          : CommandError::StreamFailed);
    }
    device.stream = std::move(stream);
    device.streamFailed = false;
    return 0;
}

int WaveAudioCommandDevice::statusLength(Device& device, std::string& reply) {
    if (device.failed())
        return toCode(CommandError::StreamFailed);
    const std::uint64_t bytes = device.take ? device.take->dataBytes() : 0;
    const std::uint64_t length =
        device.timeFormat == TimeFormat::Bytes
            ? bytes
            : bytes * 1000 / static_cast<std::uint64_t>(device.format.bytesPerSecond());
    reply = std::to_string(length);
    return 0;
}

int WaveAudioCommandDevice::save(Device& device, const std::string& path) {
    // The window sends "save" straight after its loop, without a "stop" first.
    device.stopStream();
    if (!device.take)
        return toCode(CommandError::NothingRecorded);
    m_lastSaveFailure = device.take->saveAs(path);
    return m_lastSaveFailure.empty() ? 0 : toCode(CommandError::SaveFailed);
}

std::unique_ptr<CommandDevice> makeWaveAudioCommandDevice() {
    return std::make_unique<WaveAudioCommandDevice>();
}
