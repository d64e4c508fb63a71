// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UniqueFd.h"

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::testing {

// A program a test starts as a real child: a helper program built with the tests, a fake
// backend, /bin/sleep. The constructor returns once the child runs the program (or could not
// start it), so a test never races the exec; the child is killed and reaped with the object
// unless the test saw it end.
class ChildProgram {
public:
    struct Options {
        // The child's whole environment as "NAME=value" entries; this process's when absent.
        std::optional<std::vector<std::string>> environment;
        // A pipe to the child's standard input (input()) and one from its output (output()).
        bool pipeInput = false;
        bool pipeOutput = false;
        // Another user to run it as (only when the test runs as root).
        std::optional<uid_t> asUser;
    };

    // `argv` is the child's whole argument list, its argv[0] included.
    ChildProgram(const std::string& program, std::vector<std::string> argv);
    ChildProgram(const std::string& program, std::vector<std::string> argv, Options options);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    pid_t pid() const { return pid_; }
    // The errno of a failed start (fork or exec), 0 when the program runs.
    int startError() const { return startError_; }

    int input() const { return input_.get(); }
    int output() const { return output_.get(); }
    void closeInput();
    void closeOutput();

    // Whether it has not ended (reaping it when it has).
    bool running();
    // Its wait status once it has ended within `timeout`, else nothing.
    std::optional<int> waitFor(std::chrono::milliseconds timeout);

private:
    void start(const std::string& program, std::vector<std::string> argv, const Options& options);

    pid_t pid_ = -1;
    int startError_ = 0;
    UniqueFd input_;
    UniqueFd output_;
    std::optional<int> status_;
};

} // namespace velmora::testing
