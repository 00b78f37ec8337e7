#include "platform/mci/command_errors.h"
#include "platform/mci/command_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> texts(std::string_view command) {
    std::vector<std::string> out;
    const auto tokens = tokenizeCommand(command);
    for (const CommandToken& t : *tokens)
        out.push_back(t.text);
    return out;
}

} // namespace

TEST(CommandTokenizer, SplitsAtRunsOfBlanksAndKeepsQuotedBlanks) {
    using V = std::vector<std::string>;
    EXPECT_EQ(texts("record  recsound"), (V{"record", "recsound"}));
    EXPECT_EQ(texts("  \tstop x \t "), (V{"stop", "x"}));
    EXPECT_EQ(texts("save a \"/tmp/my dir/a.wav\""), (V{"save", "a", "/tmp/my dir/a.wav"}));
    EXPECT_EQ(texts("save a \"\""), (V{"save", "a", ""}));
    EXPECT_EQ(texts(""), V{});
    EXPECT_FALSE(tokenizeCommand("save a \"/tmp/open").has_value());
}

TEST(CommandParser, ReadsTheWindowsRecordingSequence) {
    const ParseResult open = parseCommand("open new Type waveaudio Alias recsound");
    ASSERT_EQ(open.error, 0);
    EXPECT_EQ(open.command.verb, CommandVerb::Open);
    EXPECT_EQ(open.command.alias, "recsound");

    const ParseResult set = parseCommand("set recsound time format ms bitspersample 8 channels 2 "
                                         "bytespersec 22500  samplespersec 48000");
    ASSERT_EQ(set.error, 0);
    EXPECT_EQ(set.command.verb, CommandVerb::Set);
    EXPECT_EQ(set.command.alias, "recsound");
    EXPECT_EQ(set.command.values.timeFormat, TimeFormat::Milliseconds);
    EXPECT_EQ(set.command.values.bitsPerSample, 8);
    EXPECT_EQ(set.command.values.channels, 2);
    EXPECT_EQ(set.command.values.bytesPerSec, 22500);
    EXPECT_EQ(set.command.values.samplesPerSec, 48000);

    EXPECT_EQ(parseCommand("record  recsound").command.verb, CommandVerb::Record);
    EXPECT_EQ(parseCommand("status recsound length").command.verb, CommandVerb::StatusLength);
    const ParseResult save = parseCommand("save recsound /home/u/take.wav");
    ASSERT_EQ(save.error, 0);
    EXPECT_EQ(save.command.path, "/home/u/take.wav");
    EXPECT_EQ(parseCommand("close recsound").command.verb, CommandVerb::Close);
    EXPECT_EQ(parseCommand("delete recsound").command.verb, CommandVerb::Delete);
}

TEST(CommandParser, KeywordsIgnoreCaseAndSetItemsComeInAnyOrder) {
    const ParseResult r =
        parseCommand("SET Rec SamplesPerSec 8000 CHANNELS 1 Time Format BYTES BitsPerSample 16");
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.command.alias, "Rec");
    EXPECT_EQ(r.command.values.samplesPerSec, 8000);
    EXPECT_EQ(r.command.values.channels, 1);
    EXPECT_EQ(r.command.values.timeFormat, TimeFormat::Bytes);
    EXPECT_EQ(r.command.values.bitsPerSample, 16);
    EXPECT_FALSE(r.command.values.bytesPerSec.has_value());

    EXPECT_EQ(parseCommand("set a time format milliseconds").command.values.timeFormat,
              TimeFormat::Milliseconds);
    EXPECT_EQ(parseCommand("OPEN NEW ALIAS b TYPE WaveAudio").error, 0);
}

TEST(CommandParser, QuotedSavePathKeepsItsBlanks) {
    const ParseResult r = parseCommand("save recsound \"/tmp/my dir/a b.wav\"");
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.command.path, "/tmp/my dir/a b.wav");
}

struct BadCommand {
    const char* text;
    CommandError error;
};

class CommandParserErrors : public ::testing::TestWithParam<BadCommand> {};

TEST_P(CommandParserErrors, ReportsTheMatchingCode) {
    EXPECT_EQ(parseCommand(GetParam().text).error, toCode(GetParam().error)) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandParserErrors,
    ::testing::Values(BadCommand{"", CommandError::UnknownCommand},
                      BadCommand{"play recsound", CommandError::UnknownCommand},
                      BadCommand{"\"record\" a", CommandError::UnknownCommand},
                      BadCommand{"open", CommandError::MissingValue},
                      BadCommand{"open new type waveaudio", CommandError::MissingValue},
                      BadCommand{"open new type waveaudio alias", CommandError::MissingValue},
                      BadCommand{"open new type cdaudio alias a",
                                 CommandError::UnsupportedDeviceType},
                      BadCommand{"open c:/x.wav alias a", CommandError::BadValue},
                      BadCommand{"open new alias a shareable", CommandError::BadValue},
                      BadCommand{"record", CommandError::MissingValue},
                      BadCommand{"record a from 0", CommandError::BadValue},
                      BadCommand{"set a", CommandError::MissingValue},
                      BadCommand{"set a bitspersample", CommandError::MissingValue},
                      BadCommand{"set a bitspersample 24", CommandError::BadBitsPerSample},
                      BadCommand{"set a bitspersample 12", CommandError::BadBitsPerSample},
                      BadCommand{"set a bitspersample sixteen", CommandError::BadBitsPerSample},
                      BadCommand{"set a channels 0", CommandError::BadChannels},
                      BadCommand{"set a channels 3", CommandError::BadChannels},
                      BadCommand{"set a samplespersec 7999", CommandError::BadSampleRate},
                      BadCommand{"set a samplespersec 192001", CommandError::BadSampleRate},
                      BadCommand{"set a samplespersec -44100", CommandError::BadSampleRate},
                      BadCommand{"set a samplespersec 99999999999", CommandError::BadSampleRate},
                      BadCommand{"set a bytespersec 0", CommandError::BadValue},
                      BadCommand{"set a time format frames", CommandError::BadTimeFormat},
                      BadCommand{"set a time format", CommandError::MissingValue},
                      BadCommand{"set a time ms", CommandError::BadValue},
                      BadCommand{"set a volume 5", CommandError::BadValue},
                      BadCommand{"set a channels 2 loudness 3", CommandError::BadValue},
                      BadCommand{"status a", CommandError::MissingValue},
                      BadCommand{"status a position", CommandError::BadValue},
                      BadCommand{"save a", CommandError::MissingValue},
                      BadCommand{"save a \"\"", CommandError::MissingValue},
                      BadCommand{"save a /tmp/my dir/a.wav", CommandError::BadValue},
                      BadCommand{"save a \"/tmp/unclosed", CommandError::BadValue},
                      BadCommand{"close a now", CommandError::BadValue},
                      BadCommand{"delete a from 0 to 10", CommandError::BadValue}));

TEST(CommandParser, LimitsOfTheSampleRateAreAccepted) {
    EXPECT_EQ(parseCommand("set a samplespersec 8000").error, 0);
    EXPECT_EQ(parseCommand("set a samplespersec 192000").error, 0);
}

TEST(CommandErrors, EveryCodeHasItsOwnSentence) {
    std::vector<std::string> seen;
    for (int code = toCode(CommandError::UnknownCommand); code <= toCode(CommandError::DiskTooSlow);
         ++code) {
        const std::string text = commandErrorText(code);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(std::count(seen.begin(), seen.end(), text), 0) << text;
        seen.push_back(text);
    }
    EXPECT_NE(commandErrorText(99999).find("99999"), std::string::npos);
}
