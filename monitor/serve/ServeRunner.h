// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/serve/ServeOptions.h"

namespace velmora {

// "velmora serve": samples, scores and keeps the history as under the app, exports the metrics
// over HTTP (and to the textfile), and never signals a process. Runs until SIGTERM or SIGINT
// (status 0, the history written); SIGHUP reads the settings again. Status 1 when it cannot
// start (the address cannot be listened on), 2 when --all-users is not allowed or the web
// configuration is wrong, kServeAddressInUse when another program listens on the address
// (the units do not restart it then: only another port helps).
int runServe(const ServeOptions& options);

constexpr int kServeAddressInUse = 3;

} // namespace velmora
