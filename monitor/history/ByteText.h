#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// A size in binary units the way the footer shows it: whole kilobytes below 1 MB ("420 KB"),
// whole megabytes below 1 GB ("381 MB"), one decimal from there on ("1.2 GB"). Whole units
// are rounded down, so a size just under 1 GB never reads "1024 MB".
std::string byteSizeText(uint64_t bytes);

inline constexpr uint64_t kMiB = 1024ull * 1024ull;
inline constexpr uint64_t kGiB = 1024ull * kMiB;

} // namespace velmora
