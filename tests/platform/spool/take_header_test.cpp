#include "platform/spool/take_header.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

std::uint64_t field(const TakeHeaderBytes& h, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | h[at + static_cast<std::size_t>(i)];
    return value;
}

std::string tag(const TakeHeaderBytes& h, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(&h[at]), 4);
}

} // namespace

TEST(TakeHeader, PlainWavUpToFourGibibytesThenRf64InPlace) {
    const WaveFormat format{48000, 16, 2};
    struct Case {
        std::uint64_t dataBytes;
        const char* form;
        const char* placeholder;
        std::uint64_t riffField;
        std::uint64_t dataField;
    };
    const std::uint64_t lastPlain = 0xFFFFFFFFull - 72; // RIFF size = 72 + data
    for (const Case& c : {
             Case{0, "RIFF", "JUNK", 72, 0},
             Case{176400, "RIFF", "JUNK", 72 + 176400, 176400},
             Case{lastPlain - 1, "RIFF", "JUNK", lastPlain + 72 - 1, lastPlain - 1},
             Case{lastPlain + 3, "RF64", "ds64", 0xFFFFFFFF, 0xFFFFFFFF},
             Case{5ull << 30, "RF64", "ds64", 0xFFFFFFFF, 0xFFFFFFFF},
         }) {
        const TakeHeaderBytes h = takeHeader(format, c.dataBytes);
        EXPECT_EQ(tag(h, 0), c.form) << c.dataBytes;
        EXPECT_EQ(tag(h, 12), c.placeholder) << c.dataBytes;
        EXPECT_EQ(field(h, 4, 4), c.riffField) << c.dataBytes;
        EXPECT_EQ(field(h, 76, 4), c.dataField) << c.dataBytes;
        EXPECT_EQ(tag(h, 48), "fmt ");
        EXPECT_EQ(tag(h, 72), "data");
        if (tag(h, 0) == "RF64") {
            EXPECT_EQ(field(h, 20, 8), 72 + c.dataBytes);
            EXPECT_EQ(field(h, 28, 8), c.dataBytes);
            EXPECT_EQ(field(h, 36, 8), c.dataBytes / 4);
        }
        const auto back = readTakeHeader(h.data(), h.size());
        ASSERT_TRUE(back);
        EXPECT_EQ(back->format, format);
        EXPECT_EQ(back->dataBytes, c.dataBytes);
    }
}

TEST(TakeHeader, OddDataCountsItsPadByteInTheRiffSize) {
    const TakeHeaderBytes h = takeHeader({11025, 8, 1}, 11025);
    EXPECT_EQ(field(h, 4, 4), 72u + 11026u);
    EXPECT_EQ(field(h, 76, 4), 11025u);
    EXPECT_EQ(field(h, 64, 4), 11025u); // bytes per second
    EXPECT_EQ(field(h, 68, 2), 1u);     // block align
}

TEST(TakeHeader, AnythingElseIsNotATakeHeader) {
    TakeHeaderBytes good = takeHeader({44100, 16, 2}, 1000);
    EXPECT_FALSE(readTakeHeader(good.data(), 79));
    for (const std::size_t at : {0u, 8u, 12u, 48u, 72u}) {
        TakeHeaderBytes bad = good;
        bad[at] ^= 0x20;
        EXPECT_FALSE(readTakeHeader(bad.data(), bad.size())) << at;
    }
    TakeHeaderBytes float32 = good;
    float32[56] = 3; // IEEE float
    EXPECT_FALSE(readTakeHeader(float32.data(), float32.size()));
    // Fields that agree with each other but give no format a take is in: its byte rate would
    // not fit a header field.
    TakeHeaderBytes fastRate = good;
    for (const auto& [at, value] : {std::pair{60, 0x44}, {61, 0xac}, {62, 0x01}, {63, 0x62}})
        fastRate[at] = static_cast<unsigned char>(value); // 1,644,276,804 samples a second
    EXPECT_FALSE(readTakeHeader(fastRate.data(), fastRate.size()));
    EXPECT_FALSE(findFormatChunk(fastRate.data(), fastRate.size()));
    TakeHeaderBytes nineChannels = takeHeader({8000, 8, 9}, 1000);
    EXPECT_FALSE(readTakeHeader(nineChannels.data(), nineChannels.size()));
}
