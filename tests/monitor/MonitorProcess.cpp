// SPDX-License-Identifier: GPL-3.0-or-later
#include "MonitorProcess.h"

#include "base/DescriptorIo.h"
#include "base/Environment.h"
#include "tests/support/FileText.h"

#include <chrono>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>

namespace velmora::testing {
namespace {

// This process's environment with the home and its XDG folders moved to `home`, `overrides`
// set, and no display.
std::vector<std::string> monitorEnvironment(const TempHome& home, Environment overrides) {
    overrides["HOME"] = home.path;
    overrides["XDG_CONFIG_HOME"] = home.path + "/.config";
    overrides["XDG_DATA_HOME"] = home.path + "/.local/share";
    auto environment = childEnvironment(overrides);
    std::erase_if(environment, [](const std::string& entry) {
        return entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=");
    });
    return environment;
}

ChildProgram::Options monitorOptions(const TempHome& home, const Environment& overrides) {
    ChildProgram::Options options;
    options.environment = monitorEnvironment(home, overrides);
    options.pipeInput = true;
    options.pipeOutput = true;
    return options;
}

} // namespace

Json fastTuning() {
    return Json{{"tuning",
                 {{"sampleIntervalSeconds", 0.25},
                  {"suspectDetailSeconds", 0.5},
                  {"backgroundDetailSeconds", 1.0},
                  {"bucketSeconds", 1.0},
                  {"rateWindowBuckets", 8},
                  {"minRateBuckets", 5},
                  {"curvatureBuckets", 3},
                  {"minFootprintMiB", 16.0},
                  {"actionWaitSeconds", 3.0}}}};
}

void TempHome::writeFile(const std::string& relative, const std::string& content) const {
    testing::writeFile(directory.path() / relative, content);
}

void TempHome::writeConfig(const Json& config) const {
    writeFile(".config/velmora/config.json", config.dump());
}

MonitorProcess::MonitorProcess(const TempHome& home, const Environment& overrides)
    : child_(VELMORA_MONITOR_BIN, {"velmora", "ui-backend"}, monitorOptions(home, overrides)) {
    ::signal(SIGPIPE, SIG_IGN);
}

MonitorProcess::~MonitorProcess() {
    closeInput();
    closeOutput();
    wait(5); // a monitor that does not end by itself is killed with the child
}

bool MonitorProcess::send(const std::string& bytes) {
    return writeAll(child_.input(), bytes);
}

std::optional<std::string> MonitorProcess::readLine(double timeoutSeconds) {
    return lines_.next(timeoutSeconds);
}

int MonitorProcess::wait(double timeoutSeconds) {
    const auto status =
        child_.waitFor(std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000)));
    if (!status) {
        return -1;
    }
    return WIFEXITED(*status) ? WEXITSTATUS(*status) : 128 + WTERMSIG(*status);
}

} // namespace velmora::testing
