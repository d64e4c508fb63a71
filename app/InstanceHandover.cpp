#include "app/InstanceHandover.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace velmora {
namespace {
constexpr char showMessage[] = "show\n";
}

InstanceHandover::InstanceHandover(QObject* parent) : QObject(parent) {}

InstanceHandover::~InstanceHandover() {
    if (server_) {
        server_->close();
    }
}

QString InstanceHandover::socketPath(qint64 pid) {
    QString directory = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (directory.isEmpty() || !QDir(directory).exists()) {
        directory = QDir::tempPath() + QStringLiteral("/velmora-ui-%1").arg(::getuid());
        QDir().mkpath(directory);
        QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    }
    return directory + QStringLiteral("/velmora-ui.%1.sock").arg(pid);
}

bool InstanceHandover::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const auto path = socketPath(QCoreApplication::applicationPid());
    QLocalServer::removeServer(path); // a stale socket of an earlier process with our pid
    if (!server_->listen(path)) {
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

bool InstanceHandover::requestShow(qint64 pid) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(pid));
    if (!socket.waitForConnected(1000)) {
        return false;
    }
    socket.write(showMessage);
    socket.flush();
    socket.waitForBytesWritten(1000);
    socket.waitForDisconnected(500);
    return true;
}

} // namespace velmora
