#include "platform/multimedia/sndfile_library.h"

#include "platform/audio/loaded_library.h"

const SndfileLibrary& sndfile() {
    // The version the program was built against; the library itself is never closed.
    static const SndfileLibrary library = [] {
        constexpr const char* soname = "libsndfile.so.1";
        SndfileLibrary table;
        void* handle = openLoadedLibrary(soname);
        bool complete = handle != nullptr;
#define SORVINTA_SNDFILE_FIND(name) findLoadedFunction(handle, soname, #name, table.name, complete);
        SORVINTA_SNDFILE_FUNCTIONS(SORVINTA_SNDFILE_FIND)
#undef SORVINTA_SNDFILE_FIND
        if (!complete) {
#define SORVINTA_SNDFILE_STAND_IN(name) useStandIn(table.name);
            SORVINTA_SNDFILE_FUNCTIONS(SORVINTA_SNDFILE_STAND_IN)
#undef SORVINTA_SNDFILE_STAND_IN
        }
        return table;
    }();
    return library;
}
