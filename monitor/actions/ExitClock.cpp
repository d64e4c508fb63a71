// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/ExitClock.h"

#include "base/Clocks.h"
#include "monitor/actions/ProcessSignaller.h"

namespace velmora {
namespace {

class SystemExitClock final : public ExitClock {
public:
    double now() const override { return steadySeconds(); }
    bool waitForExit(int pidfd, double seconds) const override {
        return ProcessSignaller::waitForExit(pidfd, seconds);
    }
};

} // namespace

const ExitClock& systemExitClock() {
    static const SystemExitClock clock;
    return clock;
}

} // namespace velmora
