// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' fake notification server as a program, for checking a running velmora-ui by
// hand: it serves org.freedesktop.Notifications on the bus at $DBUS_SESSION_BUS_ADDRESS,
// rewrites <dump.json> after every notification, and, given an action key, presses it on the
// first notification that offers it (and whose summary contains <summary word>, when one is
// given: other processes of a busy machine may be notified first). Usage:
//   app_fake_notification_server <dump.json> [action key [summary word]]
#include "FakeNotificationServer.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <dump.json> [action key [summary word]]\n", argv[0]);
        return 2;
    }
    const QString dump = QString::fromLocal8Bit(argv[1]);
    const QString press = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString word = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    velmora::testing::FakeNotificationServer server(
        qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
        {QStringLiteral("body"), QStringLiteral("actions")});
    if (!server.isServing()) {
        std::fprintf(stderr, "cannot serve org.freedesktop.Notifications on that bus\n");
        return 1;
    }
    bool pressed = false;
    server.setOnReceived([&](const velmora::testing::ReceivedNotification& received) {
        server.dump(dump);
        std::printf("Notify %u: %s\n", received.id, qPrintable(received.summary));
        std::fflush(stdout);
        if (!press.isEmpty() && !pressed && received.actions.contains(press) &&
            received.summary.contains(word)) {
            pressed = true;
            const uint id = received.id;
            QTimer::singleShot(500, &server, [&server, id, press] {
                server.invokeAction(id, press);
                std::printf("pressed %s on %u\n", qPrintable(press), id);
                std::fflush(stdout);
            });
        }
    });
    return app.exec();
}
