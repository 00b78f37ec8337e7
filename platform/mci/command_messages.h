#pragma once

#include "platform/mci/command_errors.h"
#include "platform/spool/save_place.h"

#include <string>

// A failure of the waveaudio command device, with what its sentence names. The device keeps
// the last one, and errorString says it in words (command_messages.cpp, where all of the
// device's sentences are composed).
struct CommandFailure {
    CommandError code = CommandError::None;
    // The spool folder (NoTakeFile), the target of a save (SaveFailed, SavedEndedEarly) or
    // where a take is kept (TakeKept).
    std::string path = {};
    // How long the take is: what was saved (SavedEndedEarly), or what is kept of a take that
    // could not go on (ServerUnreachable, StreamFailed).
    double seconds = 0;
    // Why the take ended early (SavedEndedEarly; the code itself for the other early ends).
    CommandError earlyStop = CommandError::None;
    // The errno behind it: of the take's failed write (WriteFailed), or of the take file that
    // could not be made (NoTakeFile).
    int error = 0;
    // SaveFailed: why the save failed.
    PlaceProblem place = {};
};

// The sentence for a failure, as errorString gives it.
std::string commandFailureText(const CommandFailure& failure);
