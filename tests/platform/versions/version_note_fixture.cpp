// A library stamped with version 1.2.3.4, read by the file-version tests.
#include "platform/versions/version_note.h"

SORVINTA_VERSION_NOTE(1, 2, 3, 4);
