// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/InteractionState.h"

namespace velmora {

void InteractionState::addEvent(const std::string& key, IncidentTimelineItem item) {
    auto& list = events[key];
    list.push_back(std::move(item));
    if (list.size() > 12) {
        list.erase(list.begin());
    }
    if (events.size() > 64) {
        events.erase(events.begin());
    }
}

} // namespace velmora
