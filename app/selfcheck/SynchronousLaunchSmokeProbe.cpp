// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/selfcheck/SynchronousLaunchSmokeProbe.h"

#include "base/DescriptorIo.h"
#include "base/Environment.h"
#include "base/ExecArguments.h"
#include "demo/ScenarioLibrary.h"
#include "link/BackendEnvelope.h"
#include "link/BackendExecutableResolver.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmora {

SmokeProbeError SmokeProbeError::backendExited(int32_t status) {
    return {Kind::backendExited, "bundled backend exited with status " + std::to_string(status)};
}
SmokeProbeError SmokeProbeError::backendNotFound() {
    return {Kind::backendNotFound, "bundled backend executable was not found"};
}
SmokeProbeError SmokeProbeError::emptyBackendResponse() {
    return {Kind::emptyBackendResponse, "bundled backend returned no response"};
}
SmokeProbeError SmokeProbeError::missingSnapshot() {
    return {Kind::missingSnapshot, "bundled backend response did not include a snapshot"};
}
SmokeProbeError SmokeProbeError::other(const std::string& description) {
    return {Kind::other, description};
}

namespace SynchronousLaunchSmokeProbe {
namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            throw SmokeProbeError::other(std::string("cannot create a pipe: ") +
                                         std::strerror(errno));
        }
        read = fds[0];
        write = fds[1];
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (read >= 0) {
            ::close(std::exchange(read, -1));
        }
    }
    void closeWrite() {
        if (write >= 0) {
            ::close(std::exchange(write, -1));
        }
    }
};

pid_t spawnBackend(const std::filesystem::path& executable, const Environment& extra, Pipe& input,
                   Pipe& output) {
    const auto environment = childEnvironment(extra);
    const auto envp = execArguments(environment);
    const std::vector<std::string> arguments{executable.string(), "ui-backend"};
    const auto argv = execArguments(arguments);
    const std::string& program = arguments.front();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.read, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.write, STDOUT_FILENO);
    pid_t pid = -1;
    const int error =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw SmokeProbeError::other("cannot start " + program + ": " + std::strerror(error));
    }
    return pid;
}

// Writes the request; a backend that stops reading early is not an error here (its exit status
// and its output tell what happened).
void writeRequest(int fd) {
    writeAll(fd, request);
}

// Everything the backend wrote; a failed read ends it like the end of the stream.
std::string outputOf(int fd) {
    std::string output;
    readToEnd(fd, output);
    return output;
}

int32_t waitForExit(pid_t pid) {
    int status = 0;
    if (retryOnInterrupt([&] { return ::waitpid(pid, &status, 0); }) < 0) {
        throw SmokeProbeError::other(std::string("cannot wait for the backend: ") +
                                     std::strerror(errno));
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    // Killed by a signal: reported the way a shell reports it.
    return 128 + WTERMSIG(status);
}

std::optional<std::string_view> firstLine(std::string_view output) {
    while (!output.empty()) {
        const auto end = output.find('\n');
        const auto piece = output.substr(0, end);
        if (!piece.empty()) {
            return piece;
        }
        if (end == std::string_view::npos) {
            break;
        }
        output.remove_prefix(end + 1);
    }
    return std::nullopt;
}

// A write into a pipe whose reader is gone must not end the application.
void ignoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace

PopoverSnapshot fetchBackendSnapshot(const std::filesystem::path& executable,
                                     const Environment& extraEnvironment) {
    ignoreBrokenPipes();
    Pipe input;
    Pipe output;
    const pid_t pid = spawnBackend(executable, extraEnvironment, input, output);
    input.closeRead();
    output.closeWrite();
    writeRequest(input.write);
    input.closeWrite();
    const auto text = outputOf(output.read);
    const auto status = waitForExit(pid);
    if (status != 0) {
        throw SmokeProbeError::backendExited(status);
    }
    const auto line = firstLine(text);
    if (!line) {
        throw SmokeProbeError::emptyBackendResponse();
    }
    auto envelope = decodeBackendEnvelope(*line);
    if (!envelope) {
        throw SmokeProbeError::other(envelope.error().text());
    }
    if (!envelope.value().snapshot) {
        throw SmokeProbeError::missingSnapshot();
    }
    return *std::move(envelope).value().snapshot;
}

PopoverSnapshot fetchBackendSnapshot(const RuntimeOptions& options) {
    const auto executable = BackendExecutableResolver::resolve();
    if (!executable) {
        throw SmokeProbeError::backendNotFound();
    }
    return fetchBackendSnapshot(*executable, options.backendEnvironment());
}

bool isRequested(const RuntimeOptions& options) {
    return options.isSmokeTest && !options.interactiveMenuSmoke;
}

Outcome run(const RuntimeOptions& options) {
    if (options.demoArtifactBoundary || options.demoDetailRouting) {
        return {ScenarioLibrary::detailOpened(), {}};
    }
    try {
        return {fetchBackendSnapshot(options), {}};
    } catch (const std::exception& error) {
        return {std::nullopt, std::string(failurePrefix) + error.what()};
    }
}

void exitIfHandled(const RuntimeOptions& options, SmokeReporter& reporter) {
    if (!isRequested(options)) {
        return;
    }
    const auto outcome = run(options);
    if (!outcome.snapshot) {
        reporter.emitFailure(options, outcome.failure);
        std::exit(1);
    }
    reporter.emitSuccess(options, *outcome.snapshot, false, false);
    std::exit(0);
}

} // namespace SynchronousLaunchSmokeProbe
} // namespace velmora
