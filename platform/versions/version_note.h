#pragma once

#include <cstdint>

// The ELF note that stamps a version into a library of this program: owner "Sorvinta", type 1,
// four 16-bit numbers. The section name starts with ".note", so the linker keeps it as a note.
struct VersionNote {
    std::uint32_t nameSize;
    std::uint32_t descriptionSize;
    std::uint32_t type;
    char name[12];
    std::uint16_t parts[4];
};

inline constexpr char kVersionNoteOwner[] = "Sorvinta";
inline constexpr std::uint32_t kVersionNoteType = 1;

// Defines the note in the library being built: SORVINTA_VERSION_NOTE(4, 74, 8702, 0).
#define SORVINTA_VERSION_NOTE(...)                                                                 \
    extern "C" __attribute__((used, section(".note.sorvinta.version"), aligned(4)))                \
    const VersionNote sorvintaVersionNote = {9, 8, kVersionNoteType, "Sorvinta", {__VA_ARGS__}}
