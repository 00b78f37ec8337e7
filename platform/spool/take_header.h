#pragma once

#include "platform/audio/wave_format.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The header every take starts with, 80 bytes long, followed by the PCM data to the end of the
// file. Up to 4 GiB it is a plain PCM WAV header:
//
//   "RIFF" size "WAVE" | "JUNK" 28 bytes of zeros | "fmt " 16 (PCM) | "data" size
//
// Past 4 GiB the JUNK chunk becomes the "ds64" chunk that carries the 64-bit sizes and the file
// becomes RF64, in place, without moving a byte of the data. The same layout is written when a
// take starts, brought up to date while it grows and repaired after a crash.
inline constexpr std::size_t kTakeHeaderBytes = 80;

using TakeHeaderBytes = std::array<unsigned char, kTakeHeaderBytes>;

// Whether a take can be in `format`: 1 to 8 channels of 8 or 16 bits at 1 to 384,000 samples a
// second. Whatever a header or a name gives is held to it, so that the sizes that follow from
// a format fit their fields.
bool isTakeFormat(const WaveFormat& format);

// The header for `dataBytes` of PCM data in `format`.
TakeHeaderBytes takeHeader(const WaveFormat& format, std::uint64_t dataBytes);

struct TakeHeaderFacts {
    WaveFormat format;
    std::uint64_t dataBytes = 0; // as the header declares it
};

// The format and the declared data size of a take header; nothing when the bytes are not one.
std::optional<TakeHeaderFacts> readTakeHeader(const unsigned char* bytes, std::size_t size);

// The format of a PCM "fmt " chunk found anywhere in `bytes` whose fields agree with each other
// (8 or 16 bits, the block size and byte rate that follow from them); nothing when none does.
// A header damaged in part may still hold one.
std::optional<WaveFormat> findFormatChunk(const unsigned char* bytes, std::size_t size);
