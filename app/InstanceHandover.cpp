// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InstanceHandover.h"

#include "app/PrivateFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace velmora {
namespace {

constexpr char showMessage[] = "show\n";

QString inDirectory(const QString& directory, const char* name) {
    return directory + QLatin1Char('/') + QLatin1String(name);
}

struct RuntimeDirectory {
    QString path;    // empty when none can be used
    QString problem; // why, then
};

// $XDG_RUNTIME_DIR; without one, a private folder of this user under the temporary folder.
RuntimeDirectory defaultRuntimeDirectory() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists()) {
        return {runtime, {}};
    }
    const QString fallback = QDir::tempPath() + QStringLiteral("/velmora-ui-%1").arg(::getuid());
    if (const auto problem = privateFolderProblem(fallback.toStdString())) {
        return {{}, QString::fromStdString(*problem)};
    }
    return {fallback, {}};
}

} // namespace

InstanceHandover::InstanceHandover(QString runtimeDirectory, QObject* parent) : QObject(parent) {
    auto chosen = runtimeDirectory.isEmpty() ? defaultRuntimeDirectory()
                                             : RuntimeDirectory{std::move(runtimeDirectory), {}};
    directory_ = std::move(chosen.path);
    directoryProblem_ = std::move(chosen.problem);
    lock_.emplace(inDirectory(directory_, "velmora-ui.lock"));
    // The lock is held as long as its copy runs, however long that is: only a holder that has
    // gone makes it stale.
    lock_->setStaleLockTime(0);
}

InstanceHandover::~InstanceHandover() {
    if (server_) {
        server_->close();
    }
}

QString InstanceHandover::unavailableReason() const {
    return directory_.isEmpty() ? directoryProblem_ : QStringLiteral("cannot lock ") + lockPath();
}

QString InstanceHandover::lockPath() const {
    return inDirectory(directory_, "velmora-ui.lock");
}

QString InstanceHandover::socketPath() const {
    return inDirectory(directory_, "velmora-ui.sock");
}

InstanceHandover::Claim InstanceHandover::claim() {
    if (directory_.isEmpty()) {
        return Claim::unavailable;
    }
    if (lock_->tryLock(0)) {
        return Claim::claimed;
    }
    return lock_->error() == QLockFile::LockFailedError ? Claim::heldByAnother : Claim::unavailable;
}

qint64 InstanceHandover::holderPid() const {
    qint64 pid = 0;
    QString hostname;
    QString application;
    return lock_->getLockInfo(&pid, &hostname, &application) ? pid : 0;
}

bool InstanceHandover::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a copy that did not end cleanly: the lock says it is ours now.
    QLocalServer::removeServer(socketPath());
    if (!server_->listen(socketPath())) {
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (auto* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("show")) {
                    emit showRequested();
                }
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

bool InstanceHandover::requestShow(int patienceMs) const {
    // The copy holding the lock may not be listening yet: it took the lock a moment ago.
    const QDeadlineTimer deadline(patienceMs);
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(1000)) {
            socket.write(showMessage);
            socket.flush();
            socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(500);
            return true;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(100);
    }
}

} // namespace velmora
