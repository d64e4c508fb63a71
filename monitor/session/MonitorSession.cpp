// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/session/MonitorSession.h"

#include "base/DescriptorIo.h"
#include "base/LineReader.h"
#include "monitor/common/DescriptorLimit.h"
#include "monitor/families/FamilyResolver.h"
#include "monitor/live/HistoryService.h"
#include "monitor/live/LiveMonitor.h"
#include "monitor/session/RequestHandler.h"
#include "monitor/session/Tuning.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace velmora {
namespace {

// A request line longer than this is discarded and answered with an error.
constexpr std::size_t maxRequestBytes = std::size_t{16} << 20;

bool writeLine(int fd, std::string line) {
    line.push_back('\n');
    return writeAll(fd, line);
}

// "quit": the parent velmora-ui is asked to quit too, through a checked pidfd.
void askParentToQuit(const MonitorContext& context) {
    pid_t parent = ::getppid();
    auto exe = context.proc.readLink(parent, "exe");
    if (!exe || executableBaseName(*exe) != "velmora-ui") {
        return;
    }
    char buf[2048];
    if (context.proc.readPidFile(parent, "stat", buf, sizeof buf) <= 0) {
        return;
    }
    auto stat = parseStat(buf);
    UniqueFd pidfd(openPidfd(parent));
    if (!stat || !pidfd.valid() || context.proc.readLink(parent, "exe") != exe) {
        return;
    }
    sendPidfdSignal(pidfd.get(), SIGTERM);
}

} // namespace

int runSession(int in, int out) {
    std::signal(SIGPIPE, SIG_IGN);
    raiseDescriptorLimit();
    MonitorPaths paths = MonitorPaths::fromEnvironment();
    ConfigStore config(paths.configFile);
    loadConfigOrWarn(config, "using defaults");
    config.pruneIgnores(wallSeconds());

    SamplerOptions options;
    options.uid = ::getuid();
    options.self = ::getpid();
    options.smokeTargetsPath = paths.smokeTargetsFile;
    const Tuning tuning = Tuning::fromJson(config.tuning());
    options.sampling = tuning.sampling;
    options.scoring = tuning.scoring;
    // Declared before the monitor, so the sampler thread has stopped before it goes.
    HistoryService history(DataFolder{paths.dataDir}, config.storageMode());
    LiveMonitor monitor(options);
    if (!monitor.ok()) {
        std::fprintf(stderr, "velmora: cannot open /proc; answering without samples\n");
    }
    monitor.setPassObserver([&history](const LiveView& view) { history.afterPass(view); });
    monitor.setBaselineSource(
        [&history](const std::string& key) { return history.storedBaselineKiB(key); });
    // The UI's self-checks look for their target in the first answer.
    monitor.start(::access(paths.smokeTargetsFile.c_str(), F_OK) == 0);

    MonitorContext context(paths, config, options.uid, options.self);
    context.latestView = [&monitor] { return monitor.latest(); };
    context.monotonicClock = continuousSeconds;
    context.wallClock = wallSeconds;
    context.history = &history;
    context.tuning = tuning.actions;
    context.composeTuning = tuning.compose;
    RequestHandler handler(context);
    handler.setSamplingStall([&monitor] { return monitor.samplingStalledFor(monitor.clockNow()); });

    LineReader reader(in, maxRequestBytes);
    for (;;) {
        const LineReader::Result request = reader.readLine();
        if (request.status == LineReader::Status::end ||
            request.status == LineReader::Status::failed) {
            break;
        }
        std::string answer = request.status == LineReader::Status::tooLong
                                 ? handler.oversized(request.discarded)
                                 : handler.handle(request.text);
        if (!writeLine(out, std::move(answer))) {
            break; // nobody reads our answers any more
        }
        if (handler.quitRequested()) {
            askParentToQuit(context);
            break;
        }
    }
    monitor.stop();
    return 0;
}

} // namespace velmora
