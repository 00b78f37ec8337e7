#pragma once

#include <optional>
#include <string>

// Why a recording cannot go to `path`, in a sentence for the user; nothing when it can.
// Names with control characters and folders are refused without touching the disk.
std::optional<std::string> targetNameProblem(const std::string& path);

struct TargetPreparation {
    std::optional<std::string> problem; // set when the file cannot be written
    bool created = false;               // this call created the (empty) file
};

// Makes sure the target can be written before anything is recorded: an existing file is opened
// for writing (not truncated), a missing one is created empty, as the recording needs it anyway.
TargetPreparation prepareTarget(const std::string& path);
