#pragma once

#include "help/chm/chm_directory.h"

#include <cstdint>
#include <string>
#include <vector>

class FileBytes;

// The compressed section of a help file, as far as it must be known before anything in it is
// unpacked: libmspack unpacks it from the control data and the reset table; when those cannot
// say how, no file in the section can be read, and the whole file is refused once rather than
// every page telling it.
struct CompressedSection {
    // How many bytes the section unpacks to: a file said to lie further is damaged.
    std::uint64_t length = 0;
};

// The section described by the archive's own files (`units`) of the file `f`, whose plain
// section starts at `dataOffset`. False, with a sentence in `error`, when the section cannot be
// unpacked.
bool readCompressedSection(const FileBytes& f, std::uint64_t dataOffset,
                           const std::vector<ChmNamedUnit>& units, CompressedSection& section,
                           std::string& error);
