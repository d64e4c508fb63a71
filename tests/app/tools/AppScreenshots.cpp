// Renders the Settings window (both tabs), the trust window and the verdict help window of the
// demo scenario to PNG files, for the README. Usage: app_screenshots <output dir>
#include "app/AuxiliaryWindows.h"
#include "app/LaunchAtLoginManager.h"
#include "app/SettingsWindow.h"
#include "app/UpdaterController.h"
#include "backend/MockVelmoraBackend.h"
#include "backend/ScenarioLibrary.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "state/VerdictTooltipCatalog.h"

#include <QApplication>
#include <QTabWidget>

using namespace velmora;
using namespace std::chrono_literals;

namespace {
void save(QWidget* window, const QString& path) {
    window->show();
    QApplication::processEvents();
    window->grab().save(path);
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    auto scheduler = std::make_shared<ManualScheduler>();
    auto backend = std::make_shared<MockVelmoraBackend>(ScenarioLibrary::multiRowSuspect());
    auto viewModel =
        PopoverViewModel::create(backend, scheduler, VerdictTooltipCatalog::bundled(),
                                 std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    auto updater = UpdaterController::create(
        {}, UpdaterPreferences(std::make_shared<MemoryKeyValueStore>()), nullptr);
    auto login = std::make_shared<LaunchAtLoginManager>(
        std::make_shared<UnavailableLoginItemController>(), false);
    SettingsWindow settings(viewModel, updater, login);
    settings.resize(500, 640);
    save(&settings, out + QStringLiteral("/app-settings-monitor.png"));
    settings.findChild<QTabWidget*>(QStringLiteral("settingsTabs"))->setCurrentIndex(1);
    save(&settings, out + QStringLiteral("/app-settings-lifecycle.png"));
    TrustAccessWindow trust(viewModel);
    save(&trust, out + QStringLiteral("/app-trust-access.png"));
    VerdictHelpWindow help;
    save(&help, out + QStringLiteral("/app-verdict-help.png"));
    return 0;
}
