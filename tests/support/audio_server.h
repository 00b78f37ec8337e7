#pragma once

#include <gtest/gtest.h>

// True when a PulseAudio (or PipeWire pulse) server answers with the current environment.
bool audioServerAvailable();

// Tests that need the real server skip without one, except under scripts/test, which
// sets SORVINTA_REQUIRE_AUDIO=1 so that a missing server fails them instead.
#define REQUIRE_AUDIO_SERVER()                                                                     \
    do {                                                                                           \
        if (!audioServerAvailable()) {                                                             \
            if (qEnvironmentVariableIntValue("SORVINTA_REQUIRE_AUDIO") == 1)                       \
                FAIL() << "no audio server answers (PULSE_SERVER="                                 \
                       << qgetenv("PULSE_SERVER").constData() << ")";                              \
            GTEST_SKIP() << "no audio server";                                                     \
        }                                                                                          \
    } while (0)
