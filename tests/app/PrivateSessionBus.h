// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A D-Bus session bus of a test's own: `dbus-daemon --session --print-address --nofork`,
// stopped when the object goes. Nothing reaches the desktop's real session bus.

#include "StopProcess.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace velmora::testing {

class PrivateSessionBus {
public:
    PrivateSessionBus() {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) {
            return;
        }
        daemon_.setProgram(daemon);
        daemon_.setArguments({QStringLiteral("--session"), QStringLiteral("--print-address"),
                              QStringLiteral("--nofork")});
        daemon_.setProcessChannelMode(QProcess::SeparateChannels);
        daemon_.setStandardErrorFile(QProcess::nullDevice());
        daemon_.start();
        if (!daemon_.waitForStarted(5000)) {
            return;
        }
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(5000)) {
        }
        address_ = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
    }
    ~PrivateSessionBus() { stopProcess(daemon_); }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    static bool daemonInstalled() {
        return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty();
    }
    // Empty when the daemon could not be started.
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace velmora::testing
