#include "app/AuxiliaryWindows.h"
#include "app/TrustAccessPanel.h"
#include "backend/StdioVelmoraBackend.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
