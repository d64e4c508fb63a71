// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/RuntimeOptions.h"

#include <memory>

namespace velmora {

class VelmoraBackend;

// The backend of this run: the mock from `detailOpened` with --demo-artifact-boundary (it wins),
// the mock from `multiRowSuspect` with --demo-detail-routing, otherwise the backend executable
// with the options' extra environment (started at once), restarted after a failure except in a
// self-check run. Self-check flags never choose the mock.
std::shared_ptr<VelmoraBackend> chooseBackend(const RuntimeOptions& options);

} // namespace velmora
