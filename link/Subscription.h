// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// A live subscription; destroying it ends the subscription.
class Subscription {
public:
    virtual ~Subscription() = default;
};

} // namespace velmora
