// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the Settings window (both tabs, with its details closed and opened), the trust window
// and the verdict help window to PNG files at twice the pixel density, in light and dark, with
// the settings and trust texts a running monitor sends. Usage: app_screenshots <output dir>
//
// Files: app-settings-monitor, app-settings-lifecycle, app-trust-access and app-verdict-help
// (the window at its opening size and scroll position); app-settings-monitor-open-<n> and
// app-trust-access-<n> (one picture per page of scrolling, with every disclosure open). Dark
// pictures end in "-dark". The texts are in the desktop's language (LANG, LANGUAGE), and the
// pictures of a translated window end in its language: LANG=de_DE.UTF-8 gives
// app-settings-monitor-de.png.
#include "app/AppTranslations.h"
#include "app/AuxiliaryWindows.h"
#include "app/LaunchAtLogin.h"
#include "app/SettingsWindow.h"
#include "demo/MockVelmoraBackend.h"
#include "demo/ScenarioLibrary.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "state/VerdictTooltipCatalog.h"
#include "views/kit/VelmoraPalette.h"

#include <QApplication>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <cstdio>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

// Lines kept in view from one page of scrolling to the next.
constexpr int pageOverlap = 48;

// The settings and trust texts of a monitor running as uid 1000 in the middle of a session.
PopoverSnapshot runningMonitorSnapshot() {
    PopoverSnapshot snapshot = ScenarioLibrary::multiRowSuspect();
    TrustAccessSnapshot& trust = snapshot.trustAccess;
    trust.processScope = "Same-user running processes only (uid 1000).";
    trust.fileReadScope = "/proc files of your own processes, executable paths and workspace "
                          "markers; never source file contents.";
    trust.filesReadLastPass = {"/proc/PID/statm for 312 processes",
                               "/proc/PID/stat for 312 processes",
                               "/proc/PID/status for 41 processes",
                               "/proc/PID/smaps_rollup for 6 processes",
                               "/proc/PID/cmdline for 312 processes",
                               "/proc/PID/cgroup for 312 processes",
                               "/proc/meminfo",
                               "/proc/pressure/memory"};
    return snapshot;
}

class Renderer {
public:
    Renderer(QString directory, QString language)
        : directory_(std::move(directory)), language_(std::move(language)) {}

    void setDark(bool dark) {
        VelmoraPalette::setDark(dark);
        suffix_ = (language_.isEmpty() ? QString() : QLatin1Char('-') + language_) +
                  (dark ? QStringLiteral("-dark") : QString());
        QApplication::processEvents();
    }

    // The window as it is now.
    void save(QWidget* window, const QString& name) {
        window->show();
        QApplication::processEvents();
        QImage image(window->size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::transparent);
        window->render(&image);
        const QString path =
            directory_ + QLatin1Char('/') + name + suffix_ + QStringLiteral(".png");
        if (!image.save(path)) {
            std::fprintf(stderr, "app_screenshots: cannot write %s\n", qPrintable(path));
        }
    }

    // One picture per page of `area`, from the top, then back to the top.
    void savePages(QWidget* window, QScrollArea* area, const QString& name) {
        window->show();
        QApplication::processEvents();
        QScrollBar* bar = area->verticalScrollBar();
        int page = 1;
        for (int value = 0;; value += bar->pageStep() - pageOverlap) {
            bar->setValue(std::min(value, bar->maximum()));
            save(window, QStringLiteral("%1-%2").arg(name).arg(page++));
            if (value >= bar->maximum()) {
                break;
            }
        }
        bar->setValue(0);
    }

private:
    QString directory_;
    QString language_;
    QString suffix_;
};

void openEveryDisclosure(QWidget* window, bool open) {
    for (auto* header : window->findChildren<QToolButton*>(QStringLiteral("disclosureHeader"))) {
        header->setChecked(open);
    }
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString language = installTranslations(processEnvironment(), translationsFolder());
    Renderer renderer(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."), language);
    auto scheduler = std::make_shared<ManualScheduler>();
    auto backend = std::make_shared<MockVelmoraBackend>(runningMonitorSnapshot());
    auto viewModel =
        PopoverViewModel::create(backend, scheduler, VerdictTooltipCatalog::bundled(),
                                 std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    scheduler->runPending();
    auto login = std::make_shared<LaunchAtLogin>(std::nullopt, false);
    SettingsWindow settings(viewModel, login, "0.1.0");
    auto* tabs = settings.findChild<QTabWidget*>(QStringLiteral("settingsTabs"));
    auto* monitorPage = settings.findChild<QScrollArea*>(QStringLiteral("monitorPage"));
    TrustAccessWindow trust(viewModel);
    auto* trustPage = trust.findChild<QScrollArea*>(QStringLiteral("trustPanelPage"));
    VerdictHelpWindow help;

    for (const bool dark : {false, true}) {
        renderer.setDark(dark);
        tabs->setCurrentIndex(0);
        renderer.save(&settings, QStringLiteral("app-settings-monitor"));
        openEveryDisclosure(&settings, true);
        renderer.savePages(&settings, monitorPage, QStringLiteral("app-settings-monitor-open"));
        openEveryDisclosure(&settings, false);
        tabs->setCurrentIndex(1);
        renderer.save(&settings, QStringLiteral("app-settings-lifecycle"));
        renderer.save(&trust, QStringLiteral("app-trust-access"));
        if (trustPage != nullptr) {
            renderer.savePages(&trust, trustPage, QStringLiteral("app-trust-access"));
        }
        renderer.save(&help, QStringLiteral("app-verdict-help"));
    }
    return 0;
}
