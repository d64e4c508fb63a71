#include "app/BackendChoice.h"

#include "backend/MockVelmoraBackend.h"
#include "backend/ScenarioLibrary.h"
#include "backend/StdioVelmoraBackend.h"

namespace velmora {

std::shared_ptr<VelmoraBackend> chooseBackend(const RuntimeOptions& options) {
    if (options.demoArtifactBoundary) {
        return std::make_shared<MockVelmoraBackend>(ScenarioLibrary::detailOpened());
    }
    if (options.demoDetailRouting) {
        return std::make_shared<MockVelmoraBackend>(ScenarioLibrary::multiRowSuspect());
    }
    return std::make_shared<StdioVelmoraBackend>(options.backendEnvironment());
}

} // namespace velmora
