// SPDX-License-Identifier: GPL-3.0-or-later
// The app on a German desktop (LANG=de_DE.UTF-8), with the catalogue the build compiles from
// translations/velmora_de.ts: the windows, the menu, the notifications and the texts of the code
// without Qt read German, numbers are written the German way, and the catalogue has a German
// text for every text of the sources.
#include "ComposedSnapshot.h"
#include "app/AppTranslations.h"
#include "app/ApplicationMenu.h"
#include "app/LaunchAtLogin.h"
#include "app/NoTrayHint.h"
#include "app/SettingsWindow.h"
#include "demo/MockVelmoraBackend.h"
#include "state/ManualScheduler.h"
#include "state/NotificationText.h"
#include "state/PopoverViewModel.h"
#include "state/ReasonTexts.h"
#include "state/SummaryTexts.h"
#include "state/SystemStateTexts.h"
#include "views/findings/SupportingFindingsSummary.h"
#include "views/history/AdvancedHistoryListView.h"
#include "views/kit/VelmoraText.h"
#include "views/popover/FooterTelemetry.h"
#include "views/popover/NotWatchingNotice.h"
#include "views/popover/PopoverHost.h"
#include "views/popover/PopoverRootView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QTabWidget>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

class GermanDesktop : public ::testing::Environment {
public:
    void SetUp() override {
        // The desktop's locale, which Qt reads from LANG and LC_NUMERIC in a real session.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // The app finds the catalogues beside its resources, as in the build tree here.
        ASSERT_EQ(QDir(translationsFolder()).canonicalPath(),
                  QDir(QStringLiteral(VELMORA_TEST_TRANSLATIONS_DIR)).canonicalPath());
        ASSERT_EQ(installTranslations({{"LANG", "de_DE.UTF-8"}}, translationsFolder()),
                  QStringLiteral("de"));
    }
};
[[maybe_unused]] auto* const germanDesktop = ::testing::AddGlobalTestEnvironment(new GermanDesktop);

TEST(GermanDesktopTest, TheSettingsWindowReadsGermanWithGermanNumbers) {
    PopoverSnapshot snapshot;
    snapshot.refreshIntervalMs = 2500;
    auto scheduler = std::make_shared<ManualScheduler>();
    auto viewModel =
        PopoverViewModel::create(std::make_shared<MockVelmoraBackend>(snapshot), scheduler, {},
                                 std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    scheduler->runPending();
    SettingsWindow window(viewModel, std::make_shared<LaunchAtLogin>(std::nullopt, false), "0.1.0");

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Velmora-Einstellungen"));
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("settingsTabs"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Überwachung"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Lebenszyklus"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("refreshCadenceValue"))->text(),
              QStringLiteral("2,5 s"));
    EXPECT_EQ(window.findChild<QDoubleSpinBox*>(QStringLiteral("refreshCadenceStepper"))->text(),
              QStringLiteral("2,5 s"));
    // The text of the code without Qt comes through the same catalogue.
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("launchAtLoginStatus"))->text(),
              QStringLiteral("Der Start bei der Anmeldung ist nur mit einem installierten "
                             "Velmora möglich."));
}

TEST(GermanDesktopTest, TheTrayMenuReadsGerman) {
    ApplicationMenu menu;
    menu.setVersion(QStringLiteral("0.1.0"));
    QStringList items;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            items << action->text();
        }
    }
    EXPECT_EQ(
        items,
        (QStringList{QStringLiteral("Über Velmora"), QStringLiteral("Worauf Velmora zugreift …"),
                     QStringLiteral("Was bedeuten die Einstufungen?"),
                     QStringLiteral("Einstellungen …"),
                     QStringLiteral("Nach Aktualisierungen suchen …"),
                     QStringLiteral("Version 0.1.0"), QStringLiteral("Velmora beenden")}));
}

TEST(GermanDesktopTest, NotificationsAndHintsReadGermanWithTheirPlurals) {
    FindingSnapshot row;
    row.key = "firefox";
    row.title = "Firefox";
    row.verdict = FindingVerdict::probable;
    row.rate = "+18 MB/min";
    row.growthSpanLabel = "12 min";
    row.footprintLabel = "3.2 GB";
    const Notification leak = findingNotification(row);
    EXPECT_EQ(leak.summary, "Wahrscheinliches Speicherleck in Firefox");
    EXPECT_EQ(leak.body, "+18 MB/min seit 12 min \u00B7 aktuell 3.2 GB");

    EXPECT_EQ(summaryNotification({leak}).summary, "1 weiterer Verdachtsfall");
    EXPECT_EQ(summaryNotification({leak, leak}).summary, "2 weitere Verdachtsfälle");
    EXPECT_EQ(summaryNotification({leak, leak, leak, leak, leak, leak, leak, leak, leak, leak, leak,
                                   leak, leak, leak, leak, leak, leak, leak, leak, leak, leak})
                  .summary,
              "21 weitere Verdachtsfälle");
    EXPECT_EQ(summaryNotification({testNotification()}).summary, "1 weitere Speicherwarnung");
    EXPECT_EQ(exhaustionSummary(600), "Der Arbeitsspeicher ist in etwa 10 Min. voll");
    EXPECT_EQ(exhaustionSummary(61), "Der Arbeitsspeicher ist in etwa 1 Min. voll");

    EXPECT_NE(noTrayHint("KDE").find("Systemabschnitt"), std::string::npos) << noTrayHint("KDE");
}

TEST(GermanDesktopTest, ThePopoversOwnTextsReadGermanInGermanOrder) {
    MonitorLinkState link;
    link.cause = MonitorLinkCause::killedBySignal;
    link.code = 9;
    link.recovery = MonitorRecovery::scheduled;
    const auto notice = notWatchingNotice(link, 4s, 2min);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->title, "Velmora überwacht nicht");
    // The signal's number stands where German puts it, not where English glued it.
    EXPECT_EQ(notice->reason, "Überwachungsdienst durch Signal 9 beendet");
    EXPECT_EQ(notice->next, "nächster Versuch in 4 s");
    EXPECT_EQ(notice->lastUpdated, "Zuletzt aktualisiert vor 2 Min.");
    link.recovery = MonitorRecovery::gaveUp;
    EXPECT_EQ(notWatchingNotice(link, std::nullopt, std::nullopt)->next,
              "nach 5 Versuchen aufgegeben");

    std::vector<std::string> labels;
    for (const auto& item : footerCommandItems(false, false)) {
        labels.push_back(item.accessibilityLabel);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"Erweiterten Verlauf öffnen", "Bericht exportieren",
                                                "Einstellungen öffnen", "Velmora beenden"}));

    // One and many take their own forms, as German counts them.
    const std::vector<FindingSnapshot> three(3);
    EXPECT_EQ(supportingSummaryTitle({three.front()}), "1 weiterer Verdachtsfall");
    EXPECT_EQ(supportingSummaryTitle(three), "3 weitere Verdachtsfälle");
    EXPECT_EQ(actionDisplayLabel({"restart", "Restart editor", ActionStyle::warning, "app:editor"}),
              "Neu starten");
}

// The relief strip's candidate, which German says at more length, is said whole within the
// strip's two lines at the popover's real width.
TEST(GermanDesktopTest, TheReliefStripSaysItsCandidateWhole) {
    PopoverRenderState state;
    state.snapshot = velmora::testing::composedSnapshot(velmora::testing::Session::leaking);
    PopoverHost host;
    host.present(state);
    QApplication::processEvents();
    const auto* detail = host.root()->findChild<VelmoraText*>(QStringLiteral("reliefDetail"));
    ASSERT_NE(detail, nullptr);
    ASSERT_TRUE(detail->isVisible());
    QString shown;
    for (const DrawnText& line : detail->drawnTexts()) {
        EXPECT_FALSE(line.elided) << line.text.toStdString();
        shown += line.text;
    }
    EXPECT_TRUE(shown.endsWith(QStringLiteral("bei Speichermangel zuerst beendet")))
        << shown.toStdString();
}

// English writes the count with its fixed unit ("1 incidents"); German has a form for one.
TEST(GermanDesktopTest, TheHistoryCountsIncidentsInGermanForms) {
    AdvancedHistoryListView list;
    HistoricalOffenderSummarySnapshot once;
    once.key = "app:editor";
    once.title = "editor";
    once.incidentCount30d = 1;
    HistoricalOffenderSummarySnapshot often = once;
    often.key = "app:browser";
    often.incidentCount30d = 4;
    list.setState({once, often}, false, std::nullopt);
    QStringList counts;
    for (const auto* text : list.findChildren<VelmoraText*>(QStringLiteral("metric30d"))) {
        counts << text->text();
    }
    EXPECT_EQ(counts, (QStringList{QStringLiteral("1 Vorfall"), QStringLiteral("4 Vorfälle")}));
}

TEST(GermanDesktopTest, TextsComposedFromTheMonitorsCodesReadGermanWithGermanNumbers) {
    const Coded<ReasonCode> baseline{
        ReasonCode::baseline,
        {.footprintKiB = 1.5 * 1024 * 1024, .typicalKiB = 700 * 1024, .multiple = 2.19}};
    EXPECT_EQ(reasonText(baseline), "Jetzt 1,5 GB, das 2,2× der üblichen 700,0 MB.");
    const Coded<ReasonCode> summary{
        ReasonCode::growthSummary,
        {.footprintKiB = 1.5 * 1024 * 1024,
         .idle = true,
         .parts = {{ReasonCode::medianRate,
                    {.rateKiBPerSecond = 140.5, .seconds = 900, .fraction = 0.83}}}}};
    EXPECT_EQ(summaryText(summary), "Median wuchs +8,2 MB/min über 15 Min., 83 % der Schritte "
                                    "steigend; jetzt 1,5 GB, im Leerlauf erhöht geblieben.");
    // One process of its family reads in the singular.
    const Coded<ReasonCode> alone{ReasonCode::growingMember,
                                  {.count = 1, .pid = 4242, .name = "worker"}};
    const std::string aloneText = reasonText(alone).value_or("");
    EXPECT_TRUE(aloneText.starts_with("PID 4242 (worker), derzeit der einzige Prozess der Gruppe, "
                                      "wird für sich bewertet"))
        << aloneText;

    SystemStateCodes header;
    header.scope = ScopeCode::runsOut;
    header.exhaustionSeconds = 1499.7;
    EXPECT_EQ(scopeText(header), "Voll in ca. 25 Min.");
    header.exhaustionSeconds = 20;
    EXPECT_EQ(scopeText(header), "Voll in < 1 Min.");

    // Before memory is read the pill and the headroom line say so in German.
    SystemStateCodes unread;
    unread.memoryState = MemoryStateCode::unread;
    EXPECT_EQ(pressureText(unread), "Speicherzustand unbekannt");
    EXPECT_EQ(headroomText(unread), "Spielraum unbekannt");

    // A kill's notification says its time and size in German.
    OutOfMemoryKillSnapshot kill;
    kill.title = "editor";
    kill.message = "Ended by the out-of-memory killer at 14:02 with 1.5 GB.";
    kill.messageCode = RecentExplanationCodes{RecentExplanationCode::outOfMemoryKill, 1.7e9,
                                              1.5 * 1024 * 1024, std::nullopt};
    const std::string killBody = killNotification(kill).body;
    EXPECT_TRUE(killBody.starts_with("Um ") && killBody.ends_with(" mit 1,5 GB wegen "
                                                                  "Speichermangels beendet."))
        << killBody;

    // A notification's figures are the row's, in German.
    FindingSnapshot row;
    FindingCodes& figures = row.codes.emplace();
    figures.rateKiBPerSecond = 140.5;
    figures.growthSeconds = 720;
    figures.footprintKiB = 1.5 * 1024 * 1024;
    figures.rateMeasured = true;
    EXPECT_EQ(findingBody(row), "+8,2 MB/min seit 12 Min. \u00B7 aktuell 1,5 GB");
}

// The messages of a catalogue by context and source, with whether each has its translation.
std::map<std::pair<QString, QString>, bool> messages(const QString& path) {
    std::map<std::pair<QString, QString>, bool> found;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return found;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const auto type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            found[{context, source}] = type.isEmpty() && !text.trimmed().isEmpty();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return found;
}

TEST(GermanDesktopTest, TheGermanCatalogueTranslatesEveryTextOfTheSources) {
    const auto german = messages(QStringLiteral(VELMORA_TEST_GERMAN_CATALOGUE));
    const auto sources = messages(QStringLiteral(VELMORA_TEST_EXTRACTED_TEXTS));
    ASSERT_FALSE(sources.empty());
    std::set<QString> missing;
    for (const auto& [key, unused] : sources) {
        const auto it = german.find(key);
        if (it == german.end() || !it->second) {
            missing.insert(key.first + QStringLiteral(": ") + key.second);
        }
    }
    std::string list;
    for (const auto& text : missing) {
        list += text.toStdString() + "\n";
    }
    EXPECT_EQ(list, "") << "update the catalogue with: cmake --build build --target "
                           "velmora_lupdate, then translate the new texts";
}

} // namespace
