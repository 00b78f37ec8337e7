#include "platform/audio/pulse_library.h"

#include "platform/audio/loaded_library.h"

PulseLibrary loadPulseLibrary(const char* soname) {
    return loadLibraryTable<PulseLibrary>(soname);
}

const PulseLibrary& pulse() {
    // The version the program was built against; the library itself is never closed.
    static const PulseLibrary library = loadPulseLibrary("libpulse.so.0");
    return library;
}
