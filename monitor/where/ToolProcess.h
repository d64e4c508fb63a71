// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace velmora {

// How a tool is started.
struct ToolOptions {
    std::vector<std::string> environment; // empty: ours
    std::string workingDirectory;         // empty: ours
    bool discardOutput = false;           // output to /dev/null instead of the pipe
    std::string outputFile;               // output appended to this file instead of the pipe
    int parentDeathSignal = 0;            // sent to the tool when the thread that started it ends
};

// A helper program Velmora starts and watches: it leads its own process group (so whatever it
// starts can be ended with it), its standard input is /dev/null, its standard output and error
// come back through one pipe that is read as it comes, and it is always reaped. Signals start
// at their defaults in it whatever Velmora ignores.
class ToolProcess {
public:
    // Starts `program` (a path) with `arguments` (argv[0] included); null with `error` set when
    // it could not be run.
    static std::unique_ptr<ToolProcess> start(const std::string& program,
                                              const std::vector<std::string>& arguments,
                                              const ToolOptions& options, std::string& error);
    // Kills the process group of a tool still running, unless it was let go.
    ~ToolProcess();
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;

    pid_t pid() const { return pid_; }
    // The read end of the output pipe (-1 when the output is discarded or has ended).
    int outputFd() const { return output_; }
    // Appends what the tool has written so far without waiting (at most `limit` bytes kept);
    // false once its output has ended.
    bool readAvailable(std::string& into, std::size_t limit = 1 << 20);
    // Hands what the tool has written so far to `sink`, piece by piece, without waiting; false
    // once its output has ended.
    bool readAvailable(const std::function<void(std::string_view)>& sink);
    // The exit status (as from waitpid) once it has ended; reaps it without waiting.
    std::optional<int> exited();
    // Waits up to `seconds` for the tool to end, collecting its output meanwhile.
    std::optional<int> waitFor(double seconds, std::string& output);
    // Signals the tool's whole process group.
    void signalGroup(int signal) const;
    // Leaves the tool running when this object goes: it is neither killed nor waited for.
    void letGo() { letGo_ = true; }

private:
    ToolProcess(pid_t pid, int output) : pid_(pid), output_(output) {}

    pid_t pid_ = -1;
    int output_ = -1;
    std::optional<int> status_;
    bool letGo_ = false;
};

// Runs a tool to its end (killing it after `timeoutSeconds`) and returns its exit status and
// output; nullopt when it could not be started or had to be killed.
struct ToolRun {
    int status = -1;
    std::string output;
    bool timedOut = false;
    bool started = false;
};
ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments,
                double timeoutSeconds, const ToolOptions& options = {});

// Our environment without the variables that would let a debugger reach the network
// (DEBUGINFOD_URLS): debug information is read from this machine only.
std::vector<std::string> offlineEnvironment(const std::vector<std::string>& environment = {});

// The last non-blank line of a tool's output, as display text (at most 300 bytes).
std::string lastLine(const std::string& output);

// True when a process exited with status 0.
bool exitedCleanly(const std::optional<int>& status);

} // namespace velmora
