// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>

namespace velmora::testing {

// Polls `condition` (something a real child process or thread brings about) until it holds or
// `timeout` passes; returns its last value.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(5));

} // namespace velmora::testing
