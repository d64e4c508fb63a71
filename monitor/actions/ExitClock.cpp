#include "monitor/actions/ExitClock.h"

#include "monitor/actions/ProcessSignaller.h"

#include <chrono>

namespace velmora {
namespace {

class SystemExitClock final : public ExitClock {
public:
    double now() const override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
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
