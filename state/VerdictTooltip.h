// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// The onboarding explanation of one verdict, identified by `id` ("watch", "suspect",
// "probable", "criticalRunaway").
struct VerdictTooltip {
    std::string id;
    std::string title;
    std::string meaning; // what the verdict means
    std::string wrong;   // when the verdict can be wrong
    std::string posture; // what the user should do

    bool operator==(const VerdictTooltip&) const = default;
};

} // namespace velmora
