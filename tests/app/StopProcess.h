// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>

namespace velmora::testing {

// Ends a child the test started: SIGTERM, then SIGKILL when it has not gone within 3 seconds.
inline void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace velmora::testing
