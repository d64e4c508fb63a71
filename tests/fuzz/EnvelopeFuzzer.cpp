// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the response decoder. Whatever decodes must encode and decode back
// to an equal value; the derivations the views call must survive every decoded snapshot.
#include "link/BackendEnvelope.h"
#include "model/ActionDescriptor.h"
#include "model/IncidentSnapshot.h"
#include "model/SurfaceText.h"
#include "state/IncidentFacts.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace velmora;

namespace {

void exerciseDerivations(const PopoverSnapshot& snapshot) {
    (void)primarySurfaceFacts(snapshot.incident);
    (void)primarySurfaceMetrics(snapshot.incident);
    (void)primaryConfidenceSteps(snapshot.incident);
    for (const auto& row : snapshot.rows) {
        (void)fallbackVerdict(row.severity, row.confidencePillLabel, row.explanation);
        for (const auto& action : row.orderedActions) {
            (void)actionDisplayLabel(action);
        }
    }
    (void)snapshot.settings.updating(SettingsStorageMode::low, false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The text helpers take any bytes, valid UTF-8 or not.
    (void)primarySurfaceLine(bytes, {"Cause:", "\xc3\x89tat:"});
    (void)lowercased(bytes);

    auto decoded = decodeBackendEnvelope(bytes);
    if (!decoded) {
        (void)decoded.error().text();
        return 0;
    }
    const BackendEnvelope& envelope = decoded.value();
    (void)route(envelope);
    if (envelope.snapshot) {
        exerciseDerivations(*envelope.snapshot);
    }

    const std::string encoded = encodeBackendEnvelope(envelope);
    auto again = decodeBackendEnvelope(encoded);
    if (!again) {
        std::fprintf(stderr, "re-encoded envelope does not decode: %s\n",
                     again.error().text().c_str());
        std::abort();
    }
    if (!(again.value() == envelope)) {
        std::fprintf(stderr, "round trip changed the envelope: %s\n", encoded.c_str());
        std::abort();
    }
    return 0;
}
