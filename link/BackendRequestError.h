// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// The failure of a backend request that expects an answer (the advanced-history fetch); its
// user-facing description is exactly `message`.
struct BackendRequestError {
    std::string message;

    const std::string& description() const { return message; }

    bool operator==(const BackendRequestError&) const = default;
};

} // namespace velmora
