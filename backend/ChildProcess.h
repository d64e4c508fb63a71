#pragma once

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// One child process whose standard input and standard output are stream sockets held by the
// parent (its standard error is the parent's). Every descriptor of the parent is closed in
// the child except those three. The child is reaped by running() once it has exited and by
// terminate() at the latest, so it never lingers as a zombie.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts the executable with the given arguments (argv[1]...) and environment
    // ("KEY=value" entries). Returns an empty string on success, else a description.
    std::string start(const std::filesystem::path& executable,
                      const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment);

    // Whether the child was started and has not exited (reaps it when it has).
    bool running();

    // The parent's ends: requests go to inputFd(), responses come from outputFd().
    int inputFd() const { return input_; }
    int outputFd() const { return output_; }

    // Wakes any thread blocked reading or writing the child's streams; they then see the
    // end of the stream. The descriptors stay open until destruction.
    void shutdownStreams();

    // Ends the child: SIGTERM, then SIGKILL when it is still there after `grace`; reaps it.
    void terminate(std::chrono::milliseconds grace);

    pid_t pid() const { return pid_; }

private:
    bool reapIfExitedLocked();

    std::mutex mutex_;
    pid_t pid_ = -1;
    bool exited_ = true;
    int input_ = -1;
    int output_ = -1;
};

} // namespace velmora
