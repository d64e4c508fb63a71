#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace velmora {

// The local socket through which a second launch asks the running instance to show itself:
// "<runtime dir>/velmora-ui.<pid>.sock", one per instance, so a launch reaches exactly the
// instance it chose to keep.
class InstanceHandover : public QObject {
    Q_OBJECT
public:
    explicit InstanceHandover(QObject* parent = nullptr);
    ~InstanceHandover() override;

    // Starts listening for later launches.
    bool listen();

    // Asks the instance `pid` to show its popover; false when it cannot be reached.
    static bool requestShow(qint64 pid);

    static QString socketPath(qint64 pid);

signals:
    void showRequested();

private:
    QLocalServer* server_ = nullptr;
};

} // namespace velmora
