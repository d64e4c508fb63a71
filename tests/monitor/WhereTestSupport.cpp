#include "WhereTestSupport.h"

#include "monitor/where/HeapTools.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        std::string variable = *entry;
        std::string name = variable.substr(0, variable.find('='));
        bool replaced = std::any_of(added.begin(), added.end(), [&](const std::string& other) {
            return other.compare(0, name.size() + 1, name + "=") == 0;
        });
        if (!replaced) {
            environment.push_back(std::move(variable));
        }
    }
    environment.insert(environment.end(), added.begin(), added.end());
    return environment;
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
