// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"
#include "model/Json.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/PipeLines.h"
#include "tests/support/TemporaryDirectory.h"

#include <optional>
#include <string>
#include <sys/types.h>

namespace velmora::testing {

// A temporary HOME with XDG_CONFIG_HOME and XDG_DATA_HOME below it, removed at the end.
struct TempHome {
    TemporaryDirectory directory;
    std::string path = directory.path().string();
    void writeConfig(const Json& config) const;
    void writeFile(const std::string& relative, const std::string& content) const;
};

// Settings whose windows are short enough for a real leak to show within seconds: 1 s buckets,
// an 8-bucket window.
Json fastTuning();

// The real velmora executable in ui-backend mode, talking through pipes.
class MonitorProcess {
public:
    // `overrides`: environment variables set for it besides the home's.
    explicit MonitorProcess(const TempHome& home, const Environment& overrides = {});
    ~MonitorProcess();

    bool send(const std::string& bytes);
    // One response line, or nothing when the output ended or timed out.
    std::optional<std::string> readLine(double timeoutSeconds = 10);
    std::optional<std::string> request(const std::string& line) {
        if (!send(line + "\n")) {
            return std::nullopt;
        }
        return readLine();
    }
    void closeInput() { child_.closeInput(); }
    void closeOutput() { child_.closeOutput(); }
    // Exit status after the process ended (waits up to timeoutSeconds), -1 when it did not end.
    int wait(double timeoutSeconds = 10);
    pid_t pid() const { return child_.pid(); }

private:
    ChildProgram child_;
    PipeLines lines_{child_.output()};
};

} // namespace velmora::testing
