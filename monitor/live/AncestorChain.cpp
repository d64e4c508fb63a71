// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/AncestorChain.h"

namespace velmora {

AncestorChain::AncestorChain(const ProtectedProcesses& processes, ParentOfSelf parent)
    : processes_(processes), parent_(std::move(parent)) {}

const std::set<pid_t>& AncestorChain::at(double now) {
    const pid_t parent = parent_ ? parent_() : 0;
    const bool fresh = walked_ && parent_ && parent == parentWalked_ && now >= walkedAt_ &&
                       now - walkedAt_ < kLongestKeptSeconds;
    if (!fresh) {
        chain_ = processes_.selfAndAncestors();
        parentWalked_ = parent;
        walkedAt_ = now;
        walked_ = true;
    }
    return chain_;
}

} // namespace velmora
