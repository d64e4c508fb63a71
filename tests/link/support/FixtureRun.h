// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/StdioVelmoraBackend.h"
#include "tests/link/support/TestSupport.h"

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::testing {

using Environment = std::map<std::string, std::string>;

// Options that start one of the fake backends, with a private directory for the files it
// writes (its request log, its process id). Polling is off unless a test turns it on.
class FixtureRun {
public:
    FixtureRun(const std::string& program, std::map<std::string, std::string> environment);
    FixtureRun(const FixtureRun&) = delete;
    FixtureRun& operator=(const FixtureRun&) = delete;

    StdioBackendOptions options;

    std::filesystem::path requestLog() const { return dir_ / "requests.log"; }
    // Every request line the backend received, exactly as received.
    std::string requests() const { return readFile(requestLog()); }
    std::size_t requestCount() const;
    // The process id the scripted backend wrote at its latest start (-1 until it did).
    pid_t pid() const;
    // How many times the scripted backend has started.
    std::size_t starts() const;
    const TemporaryDirectory& dir() const { return dir_; }

protected:
    TemporaryDirectory dir_;
};

// The scripted fake backend: entry i answers request i (see fake_backend_scripted.cpp).
class ScriptedFixture : public FixtureRun {
public:
    explicit ScriptedFixture(const std::vector<std::string>& script);
};

// The fake backend that answers every kind like the real one (fake_backend_echo.cpp).
class EchoFixture : public FixtureRun {
public:
    explicit EchoFixture(std::map<std::string, std::string> environment = {});
};

// A response line carrying a snapshot with this summary (polling every 10 s).
std::string snapshotLine(const std::string& summary);

} // namespace velmora::testing
