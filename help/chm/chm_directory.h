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

// The header of a help file holds two identifiers, at 0x18 and 0x28, that differ in their first
// byte (0x10, 0x11). One help compiler writes the first one twice, and other readers then take
// the file for something else. This writes the second one's first byte as it should be.
DirectoryRepair repairSecondIdentifier(const std::string& path, std::string& error);

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

// What the directory lists: the entries of the archive's own files ("::" paths, which say how
// the compressed section is laid out) in the chunks the walks below reach, and every other entry
// of the listing, in its order.
struct ChmListing {
    std::vector<ChmNamedUnit> units;
    std::vector<ChmNamedUnit> entries;
};

// True when the directory header describes listing chunks that fit in the file and are of a
// size help files use (at most 8 KB, as the decompressor accepts), and when every walk through
// the chunks ends inside them: the listing from chunk to chunk, and a look-up from the index
// root down (a damaged file's numbers can lead round in circles, or an entry past its chunk's
// end). `listing` is then filled; `error` says what is wrong otherwise. The listing starts at the
// chunk that really starts it, which is not always the one the header names (see
// repairFirstListingChunk): from the header's chunk back along the "previous" numbers to the chunk
// that has none.
bool directoryIsSound(const std::string& path, ChmListing& listing, std::string& error);
