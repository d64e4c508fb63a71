// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// How insistent a desktop notification is (the server's urgency hint 1 or 2).
enum class NotificationUrgency { normal, critical };

// The buttons a notification may offer; the notification itself, clicked, shows the popover.
enum class NotificationAction { show, captureEvidence, ignore };

// One desktop notification, ready to send.
struct Notification {
    // What it is about: "family:<key>", "memory", "kill:<id>", "summary" or "test". A later
    // notification about the same incident replaces the earlier one on screen.
    std::string incident;
    std::string summary;
    std::string body;
    NotificationUrgency urgency = NotificationUrgency::normal;
    // The family its buttons act on; empty when it names none.
    std::string familyKey;
    std::vector<NotificationAction> actions;
    // The server's id of the notification this one replaces; 0 for a new one.
    uint32_t replacesId = 0;

    bool operator==(const Notification&) const = default;
};

} // namespace velmora
