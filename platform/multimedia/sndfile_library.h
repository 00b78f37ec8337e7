#pragma once

#include "platform/audio/loaded_library.h"

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
    SORVINTA_LIBRARY_TABLE(SORVINTA_SNDFILE_FUNCTIONS)
};

// The program's table of libsndfile, opened on the first call.
const SndfileLibrary& sndfile();
