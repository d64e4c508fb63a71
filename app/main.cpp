// SPDX-License-Identifier: GPL-3.0-or-later
// velmora-ui: the tray front end of the Velmora memory-leak monitor.
#include "app/AppTranslations.h"
#include "app/DarkModeWatcher.h"
#include "app/GraphicalSession.h"
#include "app/InstanceHandover.h"
#include "app/RuntimeOptions.h"
#include "app/TerminationSignals.h"
#include "app/VelmoraApplication.h"
#include "app/selfcheck/InteractiveMenuSmokeHarness.h"
#include "app/selfcheck/SmokeReporter.h"
#include "app/selfcheck/SoakDriver.h"
#include "app/selfcheck/SynchronousLaunchSmokeProbe.h"

#include <QApplication>
#include <csignal>
#include <iostream>
#include <malloc.h>

using namespace velmora;

namespace {

// Another copy runs in this session already: ask it to show itself and end this launch.
[[noreturn]] void handOverTo(const InstanceHandover& handover) {
    std::cerr << "velmora-ui: duplicate UI launch detected; keeping existing instance pid "
              << handover.holderPid() << '\n';
    if (!handover.requestShow()) {
        std::cerr << "velmora-ui: the running copy could not be asked to show itself\n";
    }
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

    const std::vector<std::string> arguments(argv, argv + argc);
    const auto& options = RuntimeOptions::current(arguments);
    SmokeReporter reporter;
    SynchronousLaunchSmokeProbe::exitIfHandled(options, reporter);

    // Without a window system Qt would abort with a core dump: say what to run instead.
    if (!hasGraphicalSession(processEnvironment(), arguments)) {
        std::cerr << noGraphicalSessionMessage << '\n';
        return 1;
    }

    // One copy per graphical session; a self-check or a demo never takes part.
    InstanceHandover handover;
    InstanceHandover::Claim claim = InstanceHandover::Claim::unavailable;
    if (!options.isSmokeTest && !options.showsDemo()) {
        claim = handover.claim();
        if (claim == InstanceHandover::Claim::heldByAnother) {
            handOverTo(handover);
        }
        if (claim == InstanceHandover::Claim::unavailable) {
            std::cerr << "velmora-ui: " << handover.unavailableReason().toStdString()
                      << "; running without the one-copy-per-session check\n";
        }
    }

    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setDesktopFileName(QStringLiteral("velmora"));
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    installTranslations(processEnvironment(), translationsFolder());

    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &application,
                     [](int) { QApplication::exit(0); });

    const bool listening = claim == InstanceHandover::Claim::claimed && handover.listen();
    DarkModeWatcher darkMode;

    VelmoraApplication velmora(options, listening ? &handover : nullptr);
    velmora.start();

    // The self-checks that drive the running application, each only when its option asks:
    // the interactive check once the event loop runs, as when launching has finished.
    InteractiveMenuSmokeHarness harness(velmora.viewModel(), options);
    QMetaObject::invokeMethod(&harness, &InteractiveMenuSmokeHarness::startIfRequested,
                              Qt::QueuedConnection);
    std::unique_ptr<SoakDriver> soak; // the memory soak's walk through the popover
    if (options.soakDriveSeconds && *options.soakDriveSeconds > 0 && !options.isSmokeTest) {
        soak = std::make_unique<SoakDriver>(velmora.viewModel(), velmora.scheduler(),
                                            std::chrono::seconds(*options.soakDriveSeconds));
        soak->start();
    }
    return application.exec();
}
