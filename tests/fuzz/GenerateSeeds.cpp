// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one response line per scenario into the directory given as the only argument.
#include "SnapshotBuilders.h"
#include "link/BackendEnvelope.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace velmora;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus-dir>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    auto write = [&](const std::string& name, const BackendEnvelope& envelope) {
        std::ofstream(dir + "/seed-" + name + ".json") << encodeBackendEnvelope(envelope);
    };
    for (const auto& scenario : scenarios::allPopoverScenarios()) {
        if (std::string(scenario.name) == "large") {
            write(scenario.name,
                  {"snapshot", scenarios::largeSnapshot(3, 8), std::nullopt, std::nullopt});
        } else {
            write(scenario.name, {"snapshot", scenario.snapshot, std::nullopt, std::nullopt});
        }
    }
    write("history",
          {"advancedHistory", std::nullopt, scenarios::historyWithSelectedDetail(), std::nullopt});
    return 0;
}
