// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/LiveView.h"

namespace velmora {

const FamilyView* findFamily(const LiveView* view, const std::string& key) {
    if (view == nullptr) {
        return nullptr;
    }
    for (const FamilyView& candidate : view->families) {
        if (candidate.key == key) {
            return &candidate;
        }
    }
    return nullptr;
}

const MemberView* growingMemberOf(const FamilyView& family) {
    for (const MemberView& member : family.members) {
        if (member.growing) {
            return &member;
        }
    }
    return nullptr;
}

} // namespace velmora
