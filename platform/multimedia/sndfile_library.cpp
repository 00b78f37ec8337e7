#include "platform/multimedia/sndfile_library.h"

#include "platform/audio/loaded_library.h"

const SndfileLibrary& sndfile() {
    // The version the program was built against; the library itself is never closed.
    static const SndfileLibrary library = loadLibraryTable<SndfileLibrary>("libsndfile.so.1");
    return library;
}
