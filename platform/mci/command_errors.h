#pragma once

#include <string>

// Codes that the waveaudio command device returns from sendString; 0 means success.
// They start above the small numbers so that a stray "1" from elsewhere is not mistaken for one.
enum class CommandError : int {
    None = 0,
    UnknownCommand = 257,
    UnknownAlias,
    AliasInUse,
    MissingValue,
    BadValue,
    UnsupportedDeviceType,
    BadBitsPerSample,
    BadChannels,
    BadSampleRate,
    BadTimeFormat,
    FormatLocked,
    ServerUnreachable,
    StreamFailed,
    NothingRecorded,
    SaveFailed,
    // A take that ended before it was stopped, by cause; "status" and "record" report them.
    ServerLost,
    DiskFull,
    WriteFailed,
    // "save" wrote the file, but the take in it had ended early.
    SavedEndedEarly,
    // "close" after a failed save: the take stays in the spool folder.
    TakeKept,
    // "record" could not make the take's file in the spool folder.
    NoTakeFile,
    // More causes of a take that ended before it was stopped (numbered after the rest, so that
    // the older codes keep their numbers).
    InputStalled,
    InputRemoved,
    DiskTooSlow,
};

constexpr int toCode(CommandError e) {
    return static_cast<int>(e);
}

// The English sentence for a code; an unknown code gets a sentence that names its number.
// (Composed with the device's other sentences, in command_messages.cpp.)
std::string commandErrorText(int code);
