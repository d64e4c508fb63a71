#pragma once

#include "model/Json.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::testing {

// A temporary HOME with XDG_CONFIG_HOME and XDG_DATA_HOME below it, removed at the end.
struct TempHome {
    std::string path;
    TempHome();
    ~TempHome();
    void writeConfig(const Json& config) const;
    void writeFile(const std::string& relative, const std::string& content) const;
};

// The real velmora executable in ui-backend mode, talking through pipes.
class MonitorProcess {
public:
    explicit MonitorProcess(const TempHome& home);
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
    void closeInput();
    void closeOutput();
    // Exit status after the process ended (waits up to timeoutSeconds), -1 when it did not end.
    int wait(double timeoutSeconds = 10);
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string buffer_;
};

// A helper child (tests/monitor/MemoryChild.cpp) with the given arguments; killed at the end.
class HelperChild {
public:
    explicit HelperChild(std::vector<std::string> arguments);
    ~HelperChild();
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

} // namespace velmora::testing
