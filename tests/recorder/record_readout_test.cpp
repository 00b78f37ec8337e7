#include "recorder/record_formats.h"
#include "recorder/record_readout.h"

#include <gtest/gtest.h>

TEST(RecordReadout, TimeText) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "00:00"},    {5, "00:05"},    {59, "00:59"},    {60, "01:00"},
        {3599, "59:59"}, {3600, "60:00"}, {6000, "100:00"}, {-1, "00:00"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(formatRecordTime(seconds), text) << seconds;
}

TEST(RecordReadout, SizeText) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, ".00 kb"},
        {5, ".00 kb"},
        {6, ".01 kb"}, // 0.00586 rounds up
        {512, ".50 kb"},
        {1024, "1.00 kb"},
        {176400, "172.27 kb"},
        {1023, "1.00 kb"},
        {10485760, "10240.00 kb"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(formatRecordSize(bytes), text) << bytes;
    EXPECT_EQ(formatRecordSize(512, ','), ",50 kb");
}

TEST(RecordReadout, LengthReplyReadsLeadingDigits) {
    EXPECT_EQ(parseLengthReply("176400"), 176400u);
    EXPECT_EQ(parseLengthReply(std::string("42\0"
                                           "99",
                                           5)),
              42u);
    EXPECT_EQ(parseLengthReply(""), 0u);
    EXPECT_EQ(parseLengthReply("abc"), 0u);
}

TEST(RecordCommands, FormatCommandPerFormat) {
    const char* expected[] = {
        "set recsound time format ms bitspersample 16 channels 2 bytespersec 22500  samplespersec "
        "44100",
        "set recsound time format ms bitspersample 8 channels 2 bytespersec 22500  samplespersec "
        "44100",
        "set recsound time format ms bitspersample 16 channels 2 bytespersec 22500  samplespersec "
        "48000",
        "set recsound time format ms bitspersample 8 channels 2 bytespersec 22500  samplespersec "
        "48000",
    };
    for (std::size_t i = 0; i < kRecordFormats.size(); ++i)
        EXPECT_EQ(record_commands::setFormat(kRecordFormats[i].bitsPerSample,
                                             kRecordFormats[i].samplesPerSec),
                  expected[i]);
}

TEST(RecordCommands, SaveQuotesOnlyPathsWithBlanks) {
    EXPECT_EQ(record_commands::save("/tmp/take.wav"), "save recsound /tmp/take.wav");
    EXPECT_EQ(record_commands::save("/tmp/my takes/a b.wav"),
              "save recsound \"/tmp/my takes/a b.wav\"");
}
