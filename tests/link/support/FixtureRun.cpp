// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/link/support/FixtureRun.h"

#include <algorithm>

namespace velmora::testing {

FixtureRun::FixtureRun(const std::string& program, std::map<std::string, std::string> environment) {
    options.executable = fixture(program);
    options.polling = false;
    options.launchEnvironment = std::move(environment);
    options.launchEnvironment["VELMORA_FIXTURE_LOG"] = requestLog().string();
    options.launchEnvironment["VELMORA_FIXTURE_PID_FILE"] = (dir_ / "pid").string();
    options.launchEnvironment["VELMORA_FIXTURE_START_LOG"] = (dir_ / "starts").string();
}

std::size_t FixtureRun::requestCount() const {
    const auto text = requests();
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::size_t FixtureRun::starts() const {
    const auto text = readFile(dir_ / "starts");
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

pid_t FixtureRun::pid() const {
    const auto text = readFile(dir_ / "pid");
    return text.empty() ? -1 : static_cast<pid_t>(std::stol(text));
}

ScriptedFixture::ScriptedFixture(const std::vector<std::string>& script)
    : FixtureRun("fake_backend_scripted", {}) {
    std::string text;
    for (const auto& entry : script) {
        text += entry + "\n";
    }
    writeFile(dir_ / "script.txt", text);
    options.launchEnvironment["VELMORA_FIXTURE_SCRIPT"] = (dir_ / "script.txt").string();
}

EchoFixture::EchoFixture(std::map<std::string, std::string> environment)
    : FixtureRun("fake_backend_echo", std::move(environment)) {}

std::string snapshotLine(const std::string& summary) {
    return R"({"kind":"snapshot","snapshot":{"summaryText":")" + summary +
           R"(","refreshIntervalMs":10000}})";
}

} // namespace velmora::testing
