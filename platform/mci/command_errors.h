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
};

constexpr int toCode(CommandError e) {
    return static_cast<int>(e);
}

// The English sentence for a code; an unknown code gets a sentence that names its number.
std::string commandErrorText(int code);
