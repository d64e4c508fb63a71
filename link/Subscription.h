#pragma once

namespace velmora {

// A live subscription; destroying it ends the subscription.
class Subscription {
public:
    virtual ~Subscription() = default;
};

} // namespace velmora
