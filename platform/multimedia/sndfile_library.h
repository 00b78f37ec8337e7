#pragma once

#include <sndfile.h>

// libsndfile, opened on first use from any thread (see platform/audio/loaded_library.h):
// sndfile().sf_open_virtual(...) wherever the library's own would be called. Without the
// library every function is a stand-in, and sf_open_virtual opens nothing.
#define SORVINTA_SNDFILE_FUNCTIONS(F)                                                              \
    F(sf_close)                                                                                    \
    F(sf_error)                                                                                    \
    F(sf_open_virtual)                                                                             \
    F(sf_readf_float)                                                                              \
    F(sf_seek)

struct SndfileLibrary {
#define SORVINTA_SNDFILE_MEMBER(name) decltype(&::name) name = nullptr;
    SORVINTA_SNDFILE_FUNCTIONS(SORVINTA_SNDFILE_MEMBER)
#undef SORVINTA_SNDFILE_MEMBER

    template <typename Visit> void forEachFunction(Visit&& visit) {
#define SORVINTA_SNDFILE_VISIT(name) visit(#name, name);
        SORVINTA_SNDFILE_FUNCTIONS(SORVINTA_SNDFILE_VISIT)
#undef SORVINTA_SNDFILE_VISIT
    }
};

// The program's table of libsndfile, opened on the first call.
const SndfileLibrary& sndfile();
