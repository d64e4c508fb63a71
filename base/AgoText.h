// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// How long ago something happened, as display text. Every surface uses this one formatter;
// each keeps the form people know it by through its style.
struct AgoStyle {
    bool seconds = false; // "12 s ago" under a minute, rather than "just now"
    bool days = true;     // "2 d ago" from a day on, rather than hours
    bool compact = false; // "5m ago" rather than "5 min ago"
};

// The popover's notices: "just now", "12 s ago", "5 min ago", "3 h ago", "2 d ago".
inline constexpr AgoStyle kNoticeAgo{true, true, false};
// The monitor's findings and growth lines: "just now", "5 min ago", "30 h ago".
inline constexpr AgoStyle kFindingAgo{false, false, false};
// The history's lines and storage footer: "just now", "5m ago", "3h ago", "2d ago".
inline constexpr AgoStyle kHistoryAgo{false, true, true};

std::string agoText(int64_t elapsedSeconds, AgoStyle style);

// The unit and whole count agoText writes: a count of zero in seconds is "just now". For texts
// composed in another language from the same figures.
enum class AgoUnit { seconds, minutes, hours, days };
struct AgoParts {
    AgoUnit unit = AgoUnit::seconds;
    int64_t count = 0;
};
AgoParts agoParts(int64_t elapsedSeconds, AgoStyle style);

} // namespace velmora
