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

TEST(QSettingsKeyValueStore, ADismissedTooltipStaysDismissedAfterRelaunch) {
    QTemporaryDir dir;
    const auto file = dir.filePath(QStringLiteral("settings.ini"));
    {
        KeyValueVerdictTooltipDismissalStore store(std::make_shared<QSettingsKeyValueStore>(file));
        store.dismiss("watch");
    }
    KeyValueVerdictTooltipDismissalStore later(
        std::make_shared<QSettingsKeyValueStore>(asNextLaunch(dir, file)));
    EXPECT_TRUE(later.isDismissed("watch"));
    EXPECT_FALSE(later.isDismissed("suspect"));
}

} // namespace
