// The check of a company logo file: a PCX version 2 image of at most 120 in Xmax and Ymax.
#pragma once

#include "Pcx.h"

#include <cstddef>
#include <string>

namespace vl
{

inline constexpr std::size_t kPcxHeaderSize = pcx::kHeaderSize;
inline constexpr int kMaxLogoExtent = pcx::kMaxLogoSide;

// Judges the first bytes of a file (at most the header is looked at): true when acceptable, else
// false with message set.
bool CheckLogoHeader(const unsigned char* data, std::size_t size, std::string& message);

// Reads up to the header's 128 bytes of the file at path and judges them.
bool CheckLogoFile(const std::string& path, std::string& message);

} // namespace vl
