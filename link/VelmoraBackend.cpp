// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/VelmoraBackend.h"

namespace velmora {

namespace {
class NoSubscription final : public Subscription {};
} // namespace

std::unique_ptr<Subscription> VelmoraBackend::subscribeMonitorLink(MonitorLinkHandler handler) {
    if (handler) {
        handler(currentMonitorLink());
    }
    return std::make_unique<NoSubscription>();
}

} // namespace velmora
