// A small library that carries a version note, as the program's own do: a seed of the version
// reader's fuzzing.
#include "platform/versions/version_note.h"

SORVINTA_VERSION_NOTE(4, 74, 8702, 0);
