#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The directory header of a help file names the first of its listing chunks. One help compiler
// writes 1 there when the listing takes more than one chunk, and readers then miss every file
// listed in chunk 0. This points the header at the chunk that really starts the listing: the
// listing chunk with no chunk before it.
enum class DirectoryRepair { AlreadyRight, Repaired, Failed };
DirectoryRepair repairFirstListingChunk(const std::string& path, std::string& error);

// An entry of the directory: the section its bytes are in (0 plain, 1 compressed), where they
// start in it and how many there are.
struct ChmUnit {
    std::uint64_t space = 0;
    std::uint64_t start = 0;
    std::uint64_t length = 0;
};
struct ChmNamedUnit {
    std::string path;
    ChmUnit unit;
};

// What the directory lists: the entries of chmlib's own files ("::" paths) in the chunks the
// walks below reach, and every other path in the listing, in its order.
struct ChmListing {
    std::vector<ChmNamedUnit> units;
    std::vector<std::string> paths;
};

// True when the directory header describes listing chunks that fit in the file and are of a
// size help files use (chmlib takes the size from the file and allocates a chunk of it for every
// look-up, so a damaged size would cost gigabytes), and when every walk chmlib makes through the
// chunks ends inside them: the listing from chunk to chunk, and a look-up from the index root
// down (chmlib follows the numbers it reads, round in circles if they lead there, and reads
// entries past their chunk's end if they say so). `listing` is then filled; `error` says what is
// wrong otherwise. The listing starts at the chunk that really starts it, which is not always
// the one the header names (see repairFirstListingChunk): from the header's chunk back along the
// "previous" numbers to the chunk that has none.
bool directoryIsSound(const std::string& path, ChmListing& listing, std::string& error);
