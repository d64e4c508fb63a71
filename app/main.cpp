// velmora-ui: the tray front end of the Velmora memory-leak monitor.
#include "app/DarkModeWatcher.h"
#include "app/DuplicateInstanceGuard.h"
#include "app/InstanceHandover.h"
#include "app/RuntimeOptions.h"
#include "app/SmokeReporter.h"
#include "app/SynchronousLaunchSmokeProbe.h"
#include "app/TerminationSignals.h"
#include "app/VelmoraApplication.h"

#include <QApplication>
#include <csignal>
#include <iostream>
#include <malloc.h>

using namespace velmora;

namespace {

// Another instance of this user runs already: ask it to show itself and end this launch.
[[noreturn]] void handOverTo(int32_t pid) {
    std::cerr << "VelmoraUIApp: duplicate UI launch detected; keeping existing instance pid " << pid
              << '\n';
    InstanceHandover::requestShow(pid);
    std::exit(0);
}

} // namespace

int main(int argc, char** argv) {
    // Large buffers (pictures, shadows) come from and go back to the system directly: glibc
    // would otherwise raise its threshold after each free and pin them in a fragmented heap,
    // so a tray app that runs for weeks would creep upwards.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);

    // A write into the pipe of a backend that has gone must not end the application.
    std::signal(SIGPIPE, SIG_IGN);

    const auto& options = RuntimeOptions::current(std::vector<std::string>(argv, argv + argc));
    SmokeReporter reporter;
    SynchronousLaunchSmokeProbe::exitIfHandled(options, reporter);

    if (!options.isSmokeTest) {
        if (const auto pid = DuplicateInstanceGuard::existingInstance()) {
            handOverTo(*pid);
        }
    }

    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &application,
                     [](int) { QApplication::exit(0); });

    InstanceHandover handover;
    if (!options.isSmokeTest) {
        handover.listen();
    }
    DarkModeWatcher darkMode;

    VelmoraApplication velmora(options, options.isSmokeTest ? nullptr : &handover);
    velmora.start();
    return application.exec();
}
