// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A display of a test's own for running velmora-ui on: a private Xvfb server (X11) or weston's
// headless backend (Wayland), stopped when the object goes. `unavailable()` says why one could
// not be started; the test then skips with that reason.

#include "StopProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

namespace velmora::testing {

class TestDisplay {
public:
    enum class Kind { x11, wayland };

    // The Wayland compositor keeps its socket in `runtimeDirectory`, which the app must share.
    TestDisplay(Kind kind, const QString& runtimeDirectory) : kind_(kind) {
        const bool wayland = kind == Kind::wayland;
        const QString program = QStandardPaths::findExecutable(wayland ? QStringLiteral("weston")
                                                                       : QStringLiteral("Xvfb"));
        if (program.isEmpty()) {
            unavailable_ = wayland
                               ? QStringLiteral("weston is not installed (Debian package weston)")
                               : QStringLiteral("Xvfb is not installed (Debian package xvfb)");
            return;
        }
        if (wayland && !hasQtWaylandPlugin()) {
            unavailable_ = QStringLiteral(
                "Qt's Wayland platform plugin is not installed (Debian package qt6-wayland)");
            return;
        }
        const int number = 100 + static_cast<int>(QRandomGenerator::global()->bounded(800));
        QString socket;
        QStringList arguments;
        if (wayland) {
            name_ = QStringLiteral("velmora-test-%1").arg(number);
            socket = runtimeDirectory + QLatin1Char('/') + name_;
            arguments = {QStringLiteral("--backend=headless-backend.so"),
                         QStringLiteral("--socket=") + name_,
                         QStringLiteral("--width=1280"),
                         QStringLiteral("--height=800"),
                         QStringLiteral("--idle-time=0"),
                         QStringLiteral("--use-pixman"),
                         QStringLiteral("--debug")};
            auto environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDirectory);
            environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
            environment.remove(QStringLiteral("DISPLAY"));
            server_.setProcessEnvironment(environment);
        } else {
            name_ = QStringLiteral(":%1").arg(number);
            socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
            arguments = {name_,
                         QStringLiteral("-screen"),
                         QStringLiteral("0"),
                         QStringLiteral("1280x800x24"),
                         QStringLiteral("-nolisten"),
                         QStringLiteral("tcp")};
        }
        server_.setProgram(program);
        server_.setArguments(arguments);
        server_.setStandardOutputFile(QProcess::nullDevice());
        server_.setStandardErrorFile(QProcess::nullDevice());
        server_.start();
        for (int tries = 0; tries < 100 && !QFileInfo::exists(socket); ++tries) {
            if (server_.state() == QProcess::NotRunning) {
                break;
            }
            QThread::msleep(50);
        }
        if (!QFileInfo::exists(socket)) {
            unavailable_ = QStringLiteral("%1 did not start here").arg(program);
        }
    }
    ~TestDisplay() { stopProcess(server_); }
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    const QString& unavailable() const { return unavailable_; }

    // Points a program's environment at this display, with Qt's platform plugin for it.
    void applyTo(QProcessEnvironment& environment) const {
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (kind_ == Kind::wayland) {
            environment.insert(QStringLiteral("WAYLAND_DISPLAY"), name_);
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        } else {
            environment.insert(QStringLiteral("DISPLAY"), name_);
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        }
    }

    // Saves the whole Wayland screen as the PNG `path` (weston's screenshooter, which weston
    // offers to clients when started with --debug); false on X11 or when it fails.
    bool screenshot(const QString& path) const {
        const QString shooter =
            QStandardPaths::findExecutable(QStringLiteral("weston-screenshooter"));
        if (kind_ != Kind::wayland || shooter.isEmpty()) {
            return false;
        }
        QProcess process;
        auto environment = server_.processEnvironment();
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), name_);
        process.setProcessEnvironment(environment);
        QTemporaryDir folder;
        process.setWorkingDirectory(folder.path());
        process.start(shooter, {});
        if (!process.waitForFinished(5000) || process.exitCode() != 0) {
            return false;
        }
        const QStringList taken = QDir(folder.path()).entryList({QStringLiteral("*.png")});
        QFile::remove(path);
        return taken.size() == 1 && QFile::rename(folder.filePath(taken.first()), path);
    }

private:
    static bool hasQtWaylandPlugin() {
        const QString folder =
            QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
        return !QDir(folder).entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty();
    }

    Kind kind_;
    QString name_;
    QProcess server_;
    QString unavailable_;
};

} // namespace velmora::testing
