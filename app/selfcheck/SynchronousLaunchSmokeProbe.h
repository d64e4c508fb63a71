// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/RuntimeOptions.h"
#include "app/selfcheck/SmokeReporter.h"
#include "model/PopoverSnapshot.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace velmora {

// Why the synchronous self-check could not get a snapshot.
class SmokeProbeError : public std::runtime_error {
public:
    enum class Kind {
        backendExited,
        backendNotFound,
        emptyBackendResponse,
        missingSnapshot,
        other
    };

    static SmokeProbeError backendExited(int32_t status);
    static SmokeProbeError backendNotFound();
    static SmokeProbeError emptyBackendResponse();
    static SmokeProbeError missingSnapshot();
    // Launching failed or the answer did not decode; the text says why.
    static SmokeProbeError other(const std::string& description);

    Kind kind() const { return kind_; }

private:
    SmokeProbeError(Kind kind, const std::string& description)
        : std::runtime_error(description), kind_(kind) {}
    Kind kind_;
};

// The self-check that runs before any window: one request to the backend, one result line.
namespace SynchronousLaunchSmokeProbe {

inline constexpr std::string_view failurePrefix = "velmora-ui: smoke check failed: ";
inline constexpr std::string_view request = "{\"kind\":\"getSnapshot\"}\n";

// Runs `executable ui-backend` with the process environment merged with `extraEnvironment`,
// writes the one request, closes its input, reads its output to the end and waits for it.
PopoverSnapshot fetchBackendSnapshot(const std::filesystem::path& executable,
                                     const Environment& extraEnvironment);

// The same with the resolved backend executable.
PopoverSnapshot fetchBackendSnapshot(const RuntimeOptions& options);

// The snapshot of a check, or the failure line to report.
struct Outcome {
    std::optional<PopoverSnapshot> snapshot;
    std::string failure;
};
Outcome run(const RuntimeOptions& options);

// Whether these options ask for the synchronous check (a smoke test that is not interactive).
bool isRequested(const RuntimeOptions& options);

// When requested: performs the check, reports it and ends the process (0 pass, 1 fail).
// Otherwise returns at once.
void exitIfHandled(const RuntimeOptions& options, SmokeReporter& reporter);

} // namespace SynchronousLaunchSmokeProbe
} // namespace velmora
