// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackendChoice.h"

#include "demo/MockVelmoraBackend.h"
#include "demo/ScenarioLibrary.h"
#include "link/StdioVelmoraBackend.h"

namespace velmora {

std::shared_ptr<VelmoraBackend> chooseBackend(const RuntimeOptions& options) {
    if (options.demoArtifactBoundary) {
        return std::make_shared<MockVelmoraBackend>(ScenarioLibrary::detailOpened());
    }
    if (options.demoDetailRouting) {
        return std::make_shared<MockVelmoraBackend>(ScenarioLibrary::multiRowSuspect());
    }
    StdioBackendOptions stdio;
    stdio.launchEnvironment = options.backendEnvironment();
    // A self-check run never restarts anything: a backend that fails stays failed, and the
    // check ends by its own time-out or failure text.
    stdio.restarts = !options.isSmokeTest && !options.interactiveMenuSmoke;
    return std::make_shared<StdioVelmoraBackend>(std::move(stdio));
}

} // namespace velmora
