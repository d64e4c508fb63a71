// SPDX-License-Identifier: GPL-3.0-or-later
#include "WhereTestSupport.h"

#include "base/Environment.h"
#include "monitor/where/HeapTools.h"

#include <chrono>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::testing {

std::optional<std::string> heapTrackingUnavailable() {
    HeapTools tools = HeapTools::find();
    if (auto missing = tools.missingPackages(true); !missing.empty()) {
        return missingToolsText(missing);
    }
    std::ifstream scope("/proc/sys/kernel/yama/ptrace_scope");
    int value = 0;
    if (scope >> value && value > 0 && ::geteuid() != 0) {
        return "ptrace is limited here (/proc/sys/kernel/yama/ptrace_scope is " +
               std::to_string(value) + ")";
    }
    return std::nullopt;
}

std::string refusedAttachMessage(pid_t pid) {
    return "The kernel refused to let heaptrack attach to where_leaker (PID " +
           std::to_string(pid) +
           "): another debugger may be attached to it, or a security policy forbids it.";
}

int leakerLine(const std::string& fragment) {
    std::ifstream source(VELMORA_WHERE_LEAKER_SOURCE);
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        if (line.find(fragment) != std::string::npos) {
            return number;
        }
    }
    return 0;
}

namespace {

// The test's environment with `added` ("NAME=value") set over it.
std::vector<std::string> environmentWith(const std::vector<std::string>& added) {
    Environment overrides;
    for (const std::string& variable : added) {
        std::size_t equals = variable.find('=');
        overrides[variable.substr(0, equals)] =
            equals == std::string::npos ? "" : variable.substr(equals + 1);
    }
    return childEnvironment(overrides);
}

ChildProgram::Options spawnOptions(const std::vector<std::string>& environment,
                                   std::optional<uid_t> asUser) {
    ChildProgram::Options options;
    options.environment = environmentWith(environment);
    options.pipeOutput = true;
    options.asUser = asUser;
    return options;
}

std::vector<std::string> withProgram(const std::string& program,
                                     std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program);
    return arguments;
}

} // namespace

Spawned::Spawned(const std::string& program, std::vector<std::string> arguments,
                 std::vector<std::string> environment, std::optional<uid_t> asUser)
    : child_(program, withProgram(program, std::move(arguments)),
             spawnOptions(environment, asUser)) {}

int Spawned::finish(double timeoutSeconds, std::string& output) {
    while (auto line = readLine(timeoutSeconds)) {
        output += *line + "\n";
    }
    output += lines_.takeRest();
    auto status =
        child_.waitFor(std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000)));
    if (!status) {
        return -1;
    }
    return WIFEXITED(*status) ? WEXITSTATUS(*status) : 128 + WTERMSIG(*status);
}

} // namespace velmora::testing
