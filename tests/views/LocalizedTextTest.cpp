// SPDX-License-Identifier: GPL-3.0-or-later
// The surfaces' figures in the desktop's format: under English and C locales exactly what the
// core's English formatters write, under German with German digits and words.
#include "views/kit/LocalizedText.h"

#include "base/AgoText.h"
#include "base/SizeText.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <gtest/gtest.h>

namespace velmora {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// Sets the default locale for one test and puts the previous one back.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(previous_); }

private:
    QLocale previous_;
};

TEST(LocalizedTextTest, EnglishAndCReadAsTheCoreWritesThem) {
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        LocaleScope scope(locale);
        for (const double kib : {-5.0, 0.0, 512.0, 1023.96, 1024.0, 1536.0, 1048575.0, 3.5e6,
                                 8.0 * 1024 * 1024, 2.0e9, 9.9e13}) {
            EXPECT_EQ(localizedKiB(kib), qs(formatKiB(kib))) << kib;
        }
        for (const uint64_t bytes : {0ull, 1023ull, 430080ull, 1048575ull, 1048576ull, 399507456ull,
                                     1073741823ull, 1288490188ull, 1ull << 50}) {
            EXPECT_EQ(localizedByteSize(bytes), qs(byteSizeText(bytes))) << bytes;
        }
        for (const double rate : {8.24, -0.4, 0.0, -0.0, -0.04, 1234.56}) {
            EXPECT_EQ(localizedRate(rate), qs(rateText(rate))) << rate;
        }
        for (const AgoStyle style :
             {kNoticeAgo, kFindingAgo, kHistoryAgo, AgoStyle{true, true, true}}) {
            for (const int64_t seconds : {-3ll, 0ll, 1ll, 12ll, 59ll, 60ll, 300ll, 3599ll, 3600ll,
                                          7200ll, 86399ll, 86400ll, 108000ll, 31536000ll}) {
                EXPECT_EQ(localizedAgo(seconds, style), qs(agoText(seconds, style)))
                    << seconds << " s";
            }
        }
    }
}

TEST(LocalizedTextTest, AGermanDesktopReadsGermanFigures) {
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(VELMORA_TEST_TRANSLATIONS_DIR "/velmora_de.qm")));
    QCoreApplication::installTranslator(&german);
    LocaleScope scope(QLocale(QLocale::German, QLocale::Germany));

    EXPECT_EQ(localizedKiB(1.5 * 1024 * 1024), QStringLiteral("1,5 GB"));
    EXPECT_EQ(localizedKiB(1023.96), QStringLiteral("1024,0 KB")); // one word, no separator
    EXPECT_EQ(localizedByteSize(399507456), QStringLiteral("381 MB"));
    EXPECT_EQ(localizedRate(18.0), QStringLiteral("+18,0 MB/min"));
    EXPECT_EQ(localizedRate(-0.4), QStringLiteral("-0,4 MB/min"));
    EXPECT_EQ(localizedAgo(0, kNoticeAgo), QStringLiteral("gerade eben"));
    EXPECT_EQ(localizedAgo(300, kFindingAgo), QStringLiteral("vor 5 Min."));
    EXPECT_EQ(localizedAgo(300, kHistoryAgo), QStringLiteral("vor 5 Min."));
    EXPECT_EQ(localizedAgo(7200, kNoticeAgo), QStringLiteral("vor 2 Std."));
    EXPECT_EQ(localizedAgo(86400, kNoticeAgo), QStringLiteral("vor 1 Tag"));
    EXPECT_EQ(localizedAgo(3 * 86400, kNoticeAgo), QStringLiteral("vor 3 Tagen"));
    QCoreApplication::removeTranslator(&german);
}

} // namespace
} // namespace velmora
