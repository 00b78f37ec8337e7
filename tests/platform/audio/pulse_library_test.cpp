#include "platform/audio/pulse_library.h"

#include <gtest/gtest.h>

// Without libpulse every function is a stand-in that opens nothing, so the program takes the
// road of an audio server it cannot reach; with it, the calls are the library's own.
TEST(PulseLibrary, AMissingLibraryGivesStandInsThatOpenNothing) {
    const PulseLibrary missing = loadPulseLibrary("libpulse-that-is-not-installed.so.0");
    EXPECT_EQ(missing.pa_threaded_mainloop_new(), nullptr);
    const pa_sample_spec spec{PA_SAMPLE_S16LE, 44100, 2};
    EXPECT_EQ(missing.pa_sample_spec_valid(&spec), 0);
    pa_channel_map map{};
    EXPECT_EQ(missing.pa_channel_map_init_extend(&map, 2, PA_CHANNEL_MAP_DEFAULT), nullptr);

    EXPECT_NE(pulse().pa_sample_spec_valid(&spec), 0);
    EXPECT_EQ(pulse().pa_usec_to_bytes(1000000, &spec), 176400u);
}
