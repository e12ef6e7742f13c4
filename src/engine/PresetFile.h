#pragma once
// The preset file: the byte form of one preset, its 131 parameter values, as the
// preset manager saves and loads it. Pure functions over memory; opening, reading and
// replacing the file on disk is the manager's business.
//
// Every number is a little-endian u32.
//
//     header (12 bytes)   version 1, device word 1 = 0, device word 2 = 0
//     131 chunks          back to back, one per parameter, in parameter order
//
//     chunk (L + 24)      chunk length L + 24, 0, parameter index 0..130,
//                         then the value's serialised variant record:
//                         L + 12, 0, type code (8: byte blob), L data bytes
//
// L is the length of the parameter's value block (ParamLayout::BlockSize), so the
// keyboard's preset file is 12 + 1338 + 131 * 24 = 4494 bytes long.
//
// Reading checks the whole image before it hands out a single value: a file is either
// taken as a complete preset or refused, never applied in part.

#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Types.h"
#include "kr/core/Variant.h"

#include <cstdint>
#include <span>
#include <vector>

namespace KR::PresetFile
{

inline constexpr std::uint32_t kFormatVersion = 1;
inline constexpr std::uint32_t kHeaderSize = 12;
// Chunk length, reserved word, parameter index: the part of a chunk before the value.
inline constexpr std::uint32_t kChunkHeadSize = 12;
// The chunk head plus the value record's own 12-byte head.
inline constexpr std::uint32_t kChunkOverhead = kChunkHeadSize + 12;
// The file of a full preset.
inline constexpr std::uint32_t kPresetFileSize = 4494;
// No preset file comes near this; a longer file is refused before it is read.
inline constexpr std::uint32_t kMaxFileSize = 64 * 1024;

// Load results, as the device view turns them into messages.
inline constexpr Result kLoaded = 0;
inline constexpr Result kOlderFormat = -1;
inline constexpr Result kNewerFormat = -2;
inline constexpr Result kCorrupt = -3;
inline constexpr Result kOtherDevice = -4;
// Has a message, but no load returns it.
inline constexpr Result kTranslationFailure = -5;

// Appends the chunk of the value at position `index` to `out`. kOk; kFail (nothing
// appended) when the value is not a byte blob of that parameter's block length, or
// holds a byte of 80 or more, so a file is never written that its own reader would refuse.
Result BuildPresetFileChunk(std::int32_t index, const Variant& value, std::vector<std::uint8_t>& out);

// The whole file image of a preset: values[i] is the parameter at position i. kOk;
// kFail (out emptied) unless there are exactly 131 values and every chunk can be built.
Result BuildPresetFile(const Array<ParamValue>& values, std::vector<std::uint8_t>& out);

// Reads the chunk at the start of `bytes`, which must be exactly the chunk's length:
// its index and value. kOk, or kCorrupt.
Result ParsePresetFileChunk(std::span<const std::uint8_t> bytes, std::int32_t& index, Variant& value);

// Checks and reads a whole file image. On kLoaded, values holds the 131 values by
// position (descriptor id = position); on any other result it is left empty. The header
// is checked first: device words (kOtherDevice), then the version (kNewerFormat for 2
// and above, kOlderFormat for 0). Everything else wrong is kCorrupt: a file shorter than
// its header, a chunk that runs past the end, a malformed chunk, an index outside
// 0..130 or seen twice, a value that is not a blob of its block's length, a value byte
// of 80 or more (no system-exclusive message could carry it), a missing parameter.
Result ReadPresetFile(std::span<const std::uint8_t> image, Array<ParamValue>& values);

} // namespace KR::PresetFile
