#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Command strings for the waveaudio device, turned into values. No audio and no Qt here.

struct CommandToken {
    std::string text;
    bool quoted = false;
};

// Splits at runs of blanks (spaces and tabs); a word that starts with a double quote runs to the
// next double quote and may hold blanks. Returns nothing when a quote is left open.
std::optional<std::vector<CommandToken>> tokenizeCommand(std::string_view text);

enum class CommandVerb { Open, Set, Record, Stop, StatusLength, Save, Delete, Close };

enum class TimeFormat { Milliseconds, Bytes };

// The items of one "set" command; only those given are filled in.
struct SetValues {
    std::optional<TimeFormat> timeFormat;
    std::optional<int> bitsPerSample;
    std::optional<int> channels;
    std::optional<int> samplesPerSec;
    std::optional<int> bytesPerSec;
};

struct ParsedCommand {
    CommandVerb verb = CommandVerb::Open;
    std::string alias;
    SetValues values; // Set only
    std::string path; // Save only
};

struct ParseResult {
    int error = 0; // a CommandError code, 0 when `command` is valid
    ParsedCommand command;
};

// Keywords match without regard to case. Values are checked here (bits 8 or 16, channels 1 or 2,
// 8000..192000 samples per second), so a command that parses can be carried out as it stands.
ParseResult parseCommand(std::string_view text);
