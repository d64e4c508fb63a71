// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QSettingsKeyValueStore.h"

#include "state/VerdictTooltipDismissalStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// QSettings caches a file's parsed values per path inside one process, so a later launch is
// imitated by reading a copy of the file under a new path.
QString asNextLaunch(const QTemporaryDir& dir, const QString& file) {
    static int generation = 0;
    const auto copy = dir.filePath(QStringLiteral("next-%1.ini").arg(++generation));
    QFile::copy(file, copy);
    return copy;
}

TEST(QSettingsKeyValueStore, ListsKeepTheirTypeAcrossLaunches) {
    QTemporaryDir dir;
    const auto file = dir.filePath(QStringLiteral("settings.ini"));
    {
        QSettingsKeyValueStore store(file);
        store.setValue("one", std::vector<std::string>{"watch"});
        store.setValue("two", std::vector<std::string>{"suspect", "watch"});
        store.setValue("text", std::string("stable"));
        store.setValue("flag", true);
    }
    QSettingsKeyValueStore later(asNextLaunch(dir, file));
    EXPECT_EQ(later.value("one"), StoredValue(std::vector<std::string>{"watch"}));
    EXPECT_EQ(later.value("two"), StoredValue(std::vector<std::string>{"suspect", "watch"}));
    EXPECT_EQ(later.value("text"), StoredValue(std::string("stable")));
    EXPECT_FALSE(later.value("missing").has_value());
}

AppSettings settingsIn(const QString& file) {
    return AppSettings(std::make_shared<QSettingsKeyValueStore>(file));
}

TEST(QSettingsKeyValueStore, PreferencesSurviveARelaunch) {
    QTemporaryDir dir;
    const auto file = dir.filePath(QStringLiteral("settings.ini"));
    {
        auto settings =
            std::make_shared<AppSettings>(std::make_shared<QSettingsKeyValueStore>(file));
        StoredVerdictTooltipDismissals(settings).dismiss("watch");
        settings->set(settingsKeys::notificationLevel, NotificationLevel::suspectAndUp);
    }
    auto later = std::make_shared<AppSettings>(
        std::make_shared<QSettingsKeyValueStore>(asNextLaunch(dir, file)));
    StoredVerdictTooltipDismissals dismissals(later);
    EXPECT_TRUE(dismissals.isDismissed("watch"));
    EXPECT_FALSE(dismissals.isDismissed("suspect"));
    EXPECT_EQ(later->get(settingsKeys::notificationLevel), NotificationLevel::suspectAndUp);
}

// The file an earlier version left behind (with its update preferences, no longer read) keeps
// its meaning.
TEST(QSettingsKeyValueStore, AFileFromAnEarlierVersionIsStillRead) {
    QTemporaryDir dir;
    const auto file = dir.filePath(QStringLiteral("Velmora.conf"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("[General]\n"
              "Velmora.dismissedVerdictTooltips=probable, watch\n"
              "Velmora.notificationLevel=critical\n"
              "VelmoraAutomaticallyChecksForUpdates=true\n"
              "VelmoraUpdaterChannel=stable\n");
    out.close();
    const AppSettings settings = settingsIn(file);
    EXPECT_EQ(settings.get(settingsKeys::notificationLevel), NotificationLevel::criticalOnly);
    EXPECT_EQ(settings.get(settingsKeys::dismissedVerdictTooltips),
              (std::vector<std::string>{"probable", "watch"}));
}

} // namespace
