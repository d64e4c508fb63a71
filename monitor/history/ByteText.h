// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/SizeText.h"

#include <cstdint>

namespace velmora {

// byteSizeText, the footer's size text, lives with the other size texts in base/SizeText.

inline constexpr uint64_t kMiB = 1024ull * 1024ull;
inline constexpr uint64_t kGiB = 1024ull * kMiB;

} // namespace velmora
