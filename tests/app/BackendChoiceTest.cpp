// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackendChoice.h"

#include "demo/ScenarioLibrary.h"
#include "link/VelmoraBackend.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(BackendChoice, DemoModesChooseTheMockAndTheArtifactBoundaryWins) {
    RuntimeOptions options;
    options.demoDetailRouting = true;
    EXPECT_EQ(chooseBackend(options)->currentSnapshot(), ScenarioLibrary::multiRowSuspect());
    options.demoArtifactBoundary = true;
    EXPECT_EQ(chooseBackend(options)->currentSnapshot(), ScenarioLibrary::detailOpened());
    const auto fromEnvironment = RuntimeOptions::parse(
        {"velmora-ui", "--demo-detail-routing"}, {{"VELMORA_UI_DEMO_ARTIFACT_BOUNDARY", "1"}});
    EXPECT_EQ(chooseBackend(fromEnvironment)->currentSnapshot(), ScenarioLibrary::detailOpened());
}

TEST(BackendChoice, SelfCheckFlagsDoNotChooseTheMock) {
    // Without a backend executable the stdio client holds its empty placeholder, which stands
    // for no data (the demo's all clear is the mock's alone).
    ::setenv("VELMORA_BACKEND_BIN", "/nonexistent/velmora", 1);
    ::setenv("VELMORA_RESOURCES_DIR", "/nonexistent/share/velmora", 1);
    RuntimeOptions options;
    options.isSmokeTest = true;
    options.interactiveMenuSmoke = true;
    options.exportFeedbackSmoke = true;
    const auto backend = chooseBackend(options);
    EXPECT_EQ(backend->currentSnapshot(), PopoverSnapshot{});
    EXPECT_FALSE(backend->currentMonitorLink().hasData());
}
