#pragma once

#include <gtest/gtest.h>

#include <string>

// True when a PulseAudio (or PipeWire pulse) server answers with the current environment.
bool audioServerAvailable();
// True under scripts/test, which sets SORVINTA_REQUIRE_AUDIO=1.
bool audioServerRequired();
// What PULSE_SERVER names ("" when unset).
std::string audioServerName();

// Tests that need the real server skip without one, except under scripts/test, where a
// missing server fails them instead.
#define REQUIRE_AUDIO_SERVER()                                                                     \
    do {                                                                                           \
        if (!audioServerAvailable()) {                                                             \
            if (audioServerRequired())                                                             \
                FAIL() << "no audio server answers (PULSE_SERVER=" << audioServerName() << ")";    \
            GTEST_SKIP() << "no audio server";                                                     \
        }                                                                                          \
    } while (0)
