// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// How a child ended: its exit status, or the signal that killed it.
struct ChildExit {
    bool signalled = false;
    int code = 0; // the exit status, or the signal when signalled

    bool operator==(const ChildExit&) const = default;
};

// One child process at a time whose standard input and standard output are stream sockets
// held by the parent (its standard error is the parent's). Every descriptor of the parent is
// closed in the child except those three. The child is reaped by running() once it has exited
// and by waitForExit() or terminate() at the latest, so it never lingers as a zombie. Once a
// child has been reaped, start() may run the next one.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the executable with the given arguments (argv[1]...) and environment
    // ("KEY=value" entries). Returns an empty string on success, else a description. Refused
    // while a child is running and after close().
    std::string start(const std::filesystem::path& executable,
                      const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment);

    // Whether the child was started and has not exited (reaps it when it has).
    bool running();

    // The parent's ends: requests go to inputFd(), responses come from outputFd().
    int inputFd() const { return input_; }
    int outputFd() const { return output_; }

    // Wakes any thread blocked reading or writing the child's streams; they then see the
    // end of the stream. The descriptors stay open until the next start or destruction.
    void shutdownStreams();

    // shutdownStreams(), and no child is ever started again.
    void close();

    // Waits up to `grace` for the child to end by itself and reaps it. Absent while it runs.
    std::optional<ChildExit> waitForExit(std::chrono::milliseconds grace);

    // Ends the child: SIGTERM (with SIGCONT, so that a stopped child acts on it), then SIGKILL
    // when it is still there after `grace`; reaps it. How it ended, when there was a child.
    std::optional<ChildExit> terminate(std::chrono::milliseconds grace);

    // How the last child ended, once it has been reaped.
    std::optional<ChildExit> lastExit();

    pid_t pid() const { return pid_; }

private:
    bool reapIfExitedLocked();
    void noteExitLocked(int status);

    std::mutex mutex_;
    pid_t pid_ = -1;
    bool exited_ = true;
    bool closed_ = false;
    std::optional<ChildExit> lastExit_;
    int input_ = -1;
    int output_ = -1;
};

} // namespace velmora
