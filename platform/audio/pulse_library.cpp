#include "platform/audio/pulse_library.h"

#include "platform/audio/loaded_library.h"

PulseLibrary loadPulseLibrary(const char* soname) {
    PulseLibrary library;
    void* handle = openLoadedLibrary(soname);
    bool complete = handle != nullptr;
#define SORVINTA_PULSE_FIND(name) findLoadedFunction(handle, soname, #name, library.name, complete);
    SORVINTA_PULSE_FUNCTIONS(SORVINTA_PULSE_FIND)
#undef SORVINTA_PULSE_FIND
    if (!complete) {
#define SORVINTA_PULSE_STAND_IN(name) useStandIn(library.name);
        SORVINTA_PULSE_FUNCTIONS(SORVINTA_PULSE_STAND_IN)
#undef SORVINTA_PULSE_STAND_IN
    }
    return library;
}

const PulseLibrary& pulse() {
    // The version the program was built against; the library itself is never closed.
    static const PulseLibrary library = loadPulseLibrary("libpulse.so.0");
    return library;
}
