// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTestSupport.h"
#include "app/AuxiliaryWindows.h"
#include "app/TrustAccessPanel.h"
#include "demo/MockVelmoraBackend.h"
#include "link/StdioVelmoraBackend.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "views/kit/VelmoraPalette.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

using namespace velmora;
using namespace std::chrono_literals;

TEST(TrustClaims, FiveClaimsInOrderWithTheLinuxVerifyLine) {
    TrustAccessSnapshot trust;
    trust.filesReadLastPass.clear();
    trust.doesNotDo.clear();
    const auto claims = trustClaims(trust);
    ASSERT_EQ(claims.size(), 5u);
    EXPECT_EQ(claims[0].title, "Processes sampled");
    EXPECT_EQ(claims[0].verifyLines.front(),
              "Open System Monitor and compare Velmora rows against same-user processes; Velmora "
              "does not require root.");
    EXPECT_EQ(claims[1].verifyTitle, "Files from the latest sampling pass");
    EXPECT_TRUE(claims[1].verifyLines.isEmpty());
    EXPECT_EQ(claims[2].verifyLines.size(), 4);
    EXPECT_EQ(claims[2].actionTitle, "Open Data Dir");
    EXPECT_EQ(claims[4].claim, "");
    EXPECT_TRUE(claims[4].verifyLines.isEmpty());
    EXPECT_EQ(trustClaims(TrustAccessSnapshot{})[4].claim,
              "No telemetry. No analytics. No cloud sync. No background uploads.");
}

// A poll that changes a count or the number of files read updates the claims in place: the
// unchanged lines keep their widgets (and any selection in them), one line is added or dropped.
TEST(TrustClaims, ANewSnapshotUpdatesTheClaimsInPlace) {
    TrustAccessClaimsView view(nullptr);
    TrustAccessSnapshot trust;
    trust.filesReadLastPass = {"/proc/PID/statm for 312 processes", "/proc/meminfo"};
    view.setTrust(trust);
    const auto before = view.findChildren<QLabel*>("verifyLine");
    trust.filesReadLastPass = {"/proc/PID/statm for 313 processes", "/proc/meminfo",
                               "/proc/pressure/memory"};
    view.setTrust(trust);
    const auto after = view.findChildren<QLabel*>("verifyLine");
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(view.findChildren<QWidget*>("trustClaim").size(), 5);
    EXPECT_EQ(after[1], before[1]);
    EXPECT_EQ(after[1]->text(), "/proc/PID/statm for 313 processes");
    EXPECT_EQ(after[2], before[2]);
    EXPECT_EQ(after[3]->text(), "/proc/pressure/memory");
    trust.filesReadLastPass.clear();
    view.setTrust(trust);
    EXPECT_EQ(view.findChildren<QLabel*>("verifyLine").size(), before.size() - 2);
    EXPECT_EQ(view.findChildren<QPushButton*>("openDataDirButton").size(), 1);
}

// The real stdio client against a recording fake backend: pressing "Open Data Dir" in the
// window sends exactly one dispatchCommand request for the data folder.
TEST(TrustAccessWindow, OpenDataDirSendsOneCommand) {
    QTemporaryDir dir;
    const auto log = dir.filePath("requests.log").toStdString();
    ::setenv("APP_RECORD_REQUESTS", log.c_str(), 1);
    StdioBackendOptions options;
    options.executable = std::filesystem::path(VELMORA_APP_RECORDING_BACKEND);
    options.polling = false;
    auto backend = std::make_shared<StdioVelmoraBackend>(options);
    auto scheduler = std::make_shared<ManualScheduler>();
    auto viewModel = PopoverViewModel::create(
        backend, scheduler, {}, std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    TrustAccessWindow window(viewModel);
    window.show();
    EXPECT_EQ(window.windowTitle(), "What Velmora accesses");
    EXPECT_EQ(window.size(), QSize(560, 640));
    auto* button = window.findChild<QPushButton*>("openDataDirButton");
    ASSERT_NE(button, nullptr);
    backend->waitForIdle();
    button->click();
    backend->waitForIdle();
    std::ifstream in(log);
    std::string line;
    int commands = 0;
    while (std::getline(in, line)) {
        if (line.find("dispatchCommand") != std::string::npos) {
            ++commands;
            EXPECT_NE(line.find("\"commandId\":\"open_data_folder\""), std::string::npos) << line;
        }
    }
    EXPECT_EQ(commands, 1);
}

// At its opening size, with every list filled and home-directory paths: every claim's text fits
// its label, nothing lies outside its parent, the page scrolls vertically only down to the last
// commitment, and every text stands out from the window in light and dark.
TEST(TrustAccessWindow, EveryClaimFitsAtTheOpeningSize) {
    auto scheduler = std::make_shared<ManualScheduler>();
    auto viewModel = PopoverViewModel::create(
        std::make_shared<MockVelmoraBackend>(velmora::testing::longTextSnapshot()), scheduler, {},
        std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    scheduler->runPending();
    TrustAccessWindow window(viewModel);
    window.show();
    for (const bool dark : {false, true}) {
        VelmoraPalette::setDark(dark);
        for (int pass = 0; pass < 10; ++pass) {
            QApplication::processEvents(); // layout requests travel up one level per pass
        }
        const char* where = dark ? "dark" : "light";
        EXPECT_EQ(velmora::testing::report(velmora::testing::clippedTexts(&window)), "") << where;
        EXPECT_EQ(velmora::testing::report(velmora::testing::misplacedChildren(&window)), "")
            << where;
        EXPECT_EQ(velmora::testing::report(velmora::testing::illegibleTexts(&window)), "") << where;
        auto* page = window.findChild<QScrollArea*>("trustPanelPage");
        ASSERT_NE(page, nullptr);
        const auto lines = window.findChildren<QLabel*>("verifyLine");
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.back()->text(), "No root helper or privileged daemon.");
        const int lastBottom =
            lines.back()->mapTo(page->widget(), QPoint(0, lines.back()->height())).y();
        EXPECT_LE(lastBottom, page->verticalScrollBar()->maximum() + page->viewport()->height())
            << where;
    }
    VelmoraPalette::setDark(false);
}
