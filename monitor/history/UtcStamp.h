// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// "20261206T195012Z": a UTC time, safe in file names.
std::string utcStamp(int64_t epochMs);

// "2026-12-06T19:50:12Z": the same time for people and JSON.
std::string utcIsoTime(int64_t epochMs);

} // namespace velmora
