#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

namespace velmora {

// One running copy per graphical session. The copy that holds the lock file
// "<runtime dir>/velmora-ui.lock" is the session's; it listens on the local socket
// "<runtime dir>/velmora-ui.sock" beside it, through which a later launch of the same session
// asks it to show its popover before ending. The runtime directory is $XDG_RUNTIME_DIR, which
// the session gives each login: a second session of the same user (a remote desktop beside the
// local one) has its own, and its own copy. A copy that ended without unlocking (a crash, a
// kill) leaves a lock the next launch takes over.
class InstanceHandover : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        claimed,       // this copy is the session's: listen()
        heldByAnother, // another copy of this session runs: requestShow(), then end
        unavailable,   // the lock cannot be made (no usable runtime directory): carry on alone
    };

    // `runtimeDirectory` empty: defaultRuntimeDirectory().
    explicit InstanceHandover(QString runtimeDirectory = {}, QObject* parent = nullptr);
    ~InstanceHandover() override;

    // Takes the session's lock, or finds who holds it. Needs no QCoreApplication.
    Claim claim();
    // The process id of the copy holding the lock (after heldByAnother), 0 when unknown.
    qint64 holderPid() const;
    // Starts listening for later launches (after claimed; needs the application object).
    bool listen();
    // Asks the session's copy to show its popover, trying for up to `patienceMs` while that
    // copy is still starting; false when it could not be reached.
    bool requestShow(int patienceMs = 3000) const;

    // $XDG_RUNTIME_DIR; without one, a private folder of this user under the temporary folder.
    static QString defaultRuntimeDirectory();
    QString lockPath() const;
    QString socketPath() const;

signals:
    void showRequested();

private:
    QString directory_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
};

} // namespace velmora
