#include "platform/mci/waveaudio_command_device.h"

#include "common/ascii.h"
#include "platform/audio/pulse_record_stream.h"
#include "platform/mci/command_messages.h"
#include "platform/mci/command_parser.h"
#include "platform/spool/take_file.h"
#include "platform/spool/take_writer.h"

#include <cerrno>

struct WaveAudioCommandDevice::Device {
    // A plain waveaudio device starts out at 11025 Hz, 8 bit, mono, counting in milliseconds.
    WaveFormat format{11025, 8, 1};
    TimeFormat timeFormat = TimeFormat::Milliseconds;
    // The take outlives the writer that fills it and the writer the stream that feeds it
    // (members go in reverse order). Once saved, the take stands for the saved file and a new
    // "record" starts a new take.
    std::unique_ptr<TakeFile> take;
    std::unique_ptr<TakeWriter> writer;
    std::unique_ptr<PulseRecordStream> stream;
    // Why the take ended on its own; None while it has not.
    CommandError earlyStop = CommandError::None;
    // A save failed and none has succeeded since: "close" keeps the take.
    bool keepOnClose = false;

    bool unsaved() const { return take && take->inSpool(); }

    // Ends a running stream, noting why when it had ended on its own, and waits until all it
    // handed over is on disk. `toNow` first reads on until the sound recorded up to this moment
    // has come: a stop keeps everything before it.
    void stopStream(bool toNow = false) {
        if (stream) {
            if (toNow)
                stream->drainToNow();
            stream->stop();
            if (stream->failed() && earlyStop == CommandError::None)
                earlyStop = cause(stream->failure());
            stream.reset();
        }
        if (writer) {
            writer->finish();
            if (writer->failed() && earlyStop == CommandError::None)
                earlyStop = writeCause();
            writer.reset();
        }
    }
    // The take's length as it will be once what is on its way is on disk.
    std::uint64_t keptBytes() const {
        if (writer)
            return writer->keptBytes();
        return take ? take->dataBytes() : 0;
    }
    CommandError writeCause() const {
        const int error = take ? take->writeError() : 0;
        return error == ENOSPC || error == EDQUOT ? CommandError::DiskFull
                                                  : CommandError::WriteFailed;
    }
    CommandError cause(std::optional<AudioCause> failure) const {
        switch (failure.value_or(AudioCause::ServerLost)) {
        case AudioCause::InputStalled:
            return CommandError::InputStalled;
        case AudioCause::InputRemoved:
            return CommandError::InputRemoved;
        case AudioCause::SinkRefused:
            return writeCause();
        case AudioCause::DiskTooSlow:
            return CommandError::DiskTooSlow;
        default:
            return CommandError::ServerLost;
        }
    }
    // A failure that tells how the take ended early, for its sentence.
    CommandFailure earlyStopFailure(CommandError code) const {
        CommandFailure failure{code};
        failure.earlyStop = earlyStop;
        failure.error = take ? take->writeError() : 0;
        return failure;
    }
};

const WaveAudioCommandDevice::Buffers WaveAudioCommandDevice::kDefaultBuffers{
    TakeWriter::kDefaultRingBytes, PulseRecordStream::kServerHoldMs};

WaveAudioCommandDevice::WaveAudioCommandDevice(std::string spoolFolder, CopyProgress* progress,
                                               Buffers buffers)
    : m_spool(std::move(spoolFolder)), m_progress(progress), m_buffers(buffers) {}

WaveAudioCommandDevice::~WaveAudioCommandDevice() {
    for (auto& entry : m_devices)
        close(*entry.second);
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
        device.stopStream(true);
        return 0;
    case CommandVerb::StatusLength: {
        std::string text;
        const int error = statusLength(device, text);
        if (reply && replySize > 0)
            *reply = text.substr(0, replySize - 1);
        return error;
    }
    case CommandVerb::Save:
        return save(device, cmd.path);
    case CommandVerb::Delete:
        // The whole take goes; a take that was saved stays where it was saved.
        device.stopStream();
        if (device.unsaved())
            device.take->discard();
        device.take.reset();
        device.earlyStop = CommandError::None;
        device.keepOnClose = false;
        return 0;
    case CommandVerb::Close: {
        const int code = close(device);
        m_devices.erase(it);
        return code;
    }
    case CommandVerb::Open:
        break;
    }
    return toCode(CommandError::UnknownCommand);
}

std::string WaveAudioCommandDevice::errorString(int code) const {
    if (code != 0 && code == toCode(m_lastFailure.code))
        return commandFailureText(m_lastFailure);
    return commandErrorText(code);
}

int WaveAudioCommandDevice::fail(CommandFailure failure) {
    m_lastFailure = std::move(failure);
    return toCode(m_lastFailure.code);
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

    if (format != device.format && device.unsaved())
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

    // A later "record" after "stop" (or after an early end) carries on in the same take.
    const bool newTake = !device.unsaved();
    if (newTake) {
        if (m_spool.folder().empty())
            return fail({CommandError::NoTakeFile});
        auto made = m_spool.newTake(device.format);
        device.take = made ? std::move(made).value() : nullptr;
        device.keepOnClose = false;
        if (!device.take) {
            CommandFailure failure{CommandError::NoTakeFile, m_spool.folder()};
            failure.error = made.cause().error;
            return fail(failure);
        }
    } else {
        device.take->resume();
    }
    device.earlyStop = CommandError::None;

    auto writer = std::make_unique<TakeWriter>(*device.take, m_buffers.ringBytes);
    auto stream = std::make_unique<PulseRecordStream>();
    const AudioResult<void> started = stream->start(
        device.format, *writer, "Sorvinta recording " + alias, m_buffers.streamHoldMs);
    if (!started) {
        stream.reset();
        writer->finish();
        const CommandError code = started.cause() == AudioCause::ServerUnreachable
                                      ? CommandError::ServerUnreachable
                                      : CommandError::StreamFailed;
        if (newTake) {
            device.take->discard();
            device.take.reset();
            return toCode(code);
        }
        CommandFailure failure{code};
        failure.seconds = device.take->seconds();
        return fail(failure);
    }
    device.writer = std::move(writer);
    device.stream = std::move(stream);
    return 0;
}

int WaveAudioCommandDevice::statusLength(Device& device, std::string& reply) {
    // A stream that ended on its own, or whose writer failed, is let go at once; its cause
    // stays until the next record, and the length then is exactly what the take kept.
    if ((device.stream && device.stream->failed()) || (device.writer && device.writer->failed()))
        device.stopStream();
    const std::uint64_t bytes = device.keptBytes();
    const std::uint64_t length =
        device.timeFormat == TimeFormat::Bytes
            ? bytes
            : bytes * 1000 / static_cast<std::uint64_t>(device.format.bytesPerSecond());
    // An early end fails with its cause; the reply still holds the length the take ended at,
    // so that a caller can say how much was kept.
    reply = std::to_string(length);
    if (device.earlyStop != CommandError::None)
        return fail(device.earlyStopFailure(device.earlyStop));
    return 0;
}

int WaveAudioCommandDevice::save(Device& device, const std::string& path) {
    // The window sends "save" straight after its loop, without a "stop" first.
    device.stopStream(true);
    if (!device.take)
        return toCode(CommandError::NothingRecorded);
    if (const SpoolResult<void> saved = device.take->saveTo(path, m_progress); !saved) {
        device.keepOnClose = device.unsaved();
        CommandFailure failure{CommandError::SaveFailed, path};
        failure.place = saved.cause();
        return fail(failure);
    }
    device.keepOnClose = false;
    if (device.earlyStop != CommandError::None) {
        CommandFailure failure = device.earlyStopFailure(CommandError::SavedEndedEarly);
        failure.path = path;
        failure.seconds = device.take->seconds();
        return fail(failure);
    }
    return 0;
}

int WaveAudioCommandDevice::close(Device& device) {
    device.stopStream();
    if (!device.unsaved())
        return 0;
    if (!device.keepOnClose) {
        device.take->discard();
        return 0;
    }
    const std::string where = device.take->path();
    device.take.reset(); // released, not removed
    return fail({CommandError::TakeKept, where});
}

std::vector<WaveAudioCommandDevice::KeptTake> WaveAudioCommandDevice::keepOpenTakes() {
    std::vector<KeptTake> kept;
    for (auto& [alias, device] : m_devices) {
        device->stopStream();
        if (device->unsaved()) {
            kept.push_back({alias, device->take->path(), device->take->seconds()});
            device->take.reset();
        }
    }
    m_devices.clear();
    return kept;
}

std::unique_ptr<CommandDevice> makeWaveAudioCommandDevice(CopyProgress* progress) {
    return std::make_unique<WaveAudioCommandDevice>(TakeSpool::defaultFolder(), progress);
}
