#pragma once

#include "help/chm/chm_directory.h"

#include <cstdint>
#include <string>
#include <vector>

// The compressed section of a help file as chmlib will decompress it: in blocks of 32 KB,
// restarting every few blocks, each block's place taken from a reset table. chmlib takes all of
// this from the file as it stands, and a damaged file makes it divide by zero while it opens the
// file, allocate gigabytes for each block, or read a block into a buffer too small for it.
struct CompressedSection {
    static constexpr std::uint64_t kBlockLength = 0x8000;
    // The blocks a compressed file may lie in: those the reset table describes and the file
    // holds whole; 0 when chmlib reads nothing compressed.
    std::uint64_t blocks = 0;
};

// True when chmlib can open the file and decompress it without any of that; `section` then says
// which blocks there are. `units` are the entries directoryIsSound found. `error` says what is
// wrong otherwise.
bool compressionIsSound(const std::string& path, const std::vector<ChmNamedUnit>& units,
                        CompressedSection& section, std::string& error);
