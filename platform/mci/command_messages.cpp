#include "platform/mci/command_messages.h"

#include "platform/spool/spool_messages.h"

namespace {

// What ended a take early, completing "the recording stopped early: ...".
std::string causeText(CommandError cause, int writeError) {
    switch (cause) {
    case CommandError::ServerLost:
        return "the audio server went away";
    case CommandError::InputStalled:
        return "the audio input stopped delivering sound";
    case CommandError::InputRemoved:
        return "the audio input was removed";
    case CommandError::DiskFull:
        return "the disk that holds it is full";
    case CommandError::DiskTooSlow:
        return "the disk that holds it could not keep up";
    default:
        return "it could not be written to disk (" + placeReason(writeError) + ")";
    }
}

} // namespace

std::string commandErrorText(int code) {
    switch (static_cast<CommandError>(code)) {
    case CommandError::None:
        return "The command completed successfully.";
    case CommandError::UnknownCommand:
        return "The command is not known to the waveaudio device.";
    case CommandError::UnknownAlias:
        return "No device is open under that alias.";
    case CommandError::AliasInUse:
        return "The alias is already in use by another open device.";
    case CommandError::MissingValue:
        return "The command is missing a value it needs.";
    case CommandError::BadValue:
        return "The command holds a word or value the device does not understand.";
    case CommandError::UnsupportedDeviceType:
        return "Only the waveaudio device type can be opened.";
    case CommandError::BadBitsPerSample:
        return "Bits per sample must be 8 or 16.";
    case CommandError::BadChannels:
        return "Channels must be 1 or 2.";
    case CommandError::BadSampleRate:
        return "Samples per second must be between 8000 and 192000.";
    case CommandError::BadTimeFormat:
        return "The time format must be ms, milliseconds or bytes.";
    case CommandError::FormatLocked:
        return "The recording format cannot change once the device holds a recording.";
    case CommandError::ServerUnreachable:
        return "The audio server cannot be reached.";
    case CommandError::StreamFailed:
        return "The audio server refused the recording stream.";
    case CommandError::NothingRecorded:
        return "There is no recording to save.";
    case CommandError::SaveFailed:
        return "The recording could not be saved to the file.";
    case CommandError::ServerLost:
        return "The recording stopped early: the audio server went away.";
    case CommandError::DiskFull:
        return "The recording stopped early: the disk that holds it is full.";
    case CommandError::WriteFailed:
        return "The recording stopped early: it could not be written to disk.";
    case CommandError::SavedEndedEarly:
        return "The recording was saved, but it had stopped early.";
    case CommandError::TakeKept:
        return "The recording was not saved; it is kept in the recordings folder.";
    case CommandError::NoTakeFile:
        return "The recording cannot start: no file can be made for it in the recordings folder.";
    case CommandError::InputStalled:
        return "The recording stopped early: the audio input stopped delivering sound.";
    case CommandError::InputRemoved:
        return "The recording stopped early: the audio input was removed.";
    case CommandError::DiskTooSlow:
        return "The recording stopped early: the disk that holds it could not keep up.";
    }
    return "Unknown waveaudio device error " + std::to_string(code) + ".";
}

std::string commandFailureText(const CommandFailure& failure) {
    switch (failure.code) {
    case CommandError::NoTakeFile:
        if (failure.path.empty())
            return std::string("The recording cannot start: ") + kNoSpoolFolderText + ".";
        return "The recording cannot start: no file can be made for it in " + failure.path + " (" +
               placeReason(failure.error) + ").";
    case CommandError::ServerUnreachable:
    case CommandError::StreamFailed:
        return commandErrorText(toCode(failure.code)) + " What was recorded before (" +
               takeDurationText(failure.seconds) + ") is kept.";
    case CommandError::ServerLost:
    case CommandError::DiskFull:
    case CommandError::WriteFailed:
    case CommandError::InputStalled:
    case CommandError::InputRemoved:
    case CommandError::DiskTooSlow:
        return "The recording stopped early: " + causeText(failure.code, failure.error) + ".";
    case CommandError::SaveFailed:
        return saveFailedText(failure.path, failure.place);
    case CommandError::SavedEndedEarly:
        return "The recording was saved to " + failure.path + ", but it had stopped early after " +
               takeDurationText(failure.seconds) + ": " +
               causeText(failure.earlyStop, failure.error) + ".";
    case CommandError::TakeKept:
        return "The recording was not saved; it is kept at " + failure.path + ".";
    default:
        return commandErrorText(toCode(failure.code));
    }
}
