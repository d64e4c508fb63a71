// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <optional>

class QLocalServer;

namespace velmora {

// One running copy per graphical session. The copy that holds the lock file
// "<runtime dir>/velmora-ui.lock" is the session's; it listens on the local socket
// "<runtime dir>/velmora-ui.sock" beside it, through which a later launch of the same session
// asks it to show its popover before ending. The runtime directory is $XDG_RUNTIME_DIR, which
// the session gives each login: a second session of the same user (a remote desktop beside the
// local one) has its own, and its own copy. Without one, a folder of this user under the
// temporary folder stands in, but only while it is private (ours, mode 0700, not a link):
// anyone who could write there could stand in for the running copy. A copy that ended without
// unlocking (a crash, a kill) leaves a lock the next launch takes over.
class InstanceHandover : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        claimed,       // this copy is the session's: listen()
        heldByAnother, // another copy of this session runs: requestShow(), then end
        unavailable,   // the lock cannot be made (no usable runtime directory): carry on alone
    };

    // `runtimeDirectory` empty: $XDG_RUNTIME_DIR, or the private stand-in folder.
    explicit InstanceHandover(QString runtimeDirectory = {}, QObject* parent = nullptr);
    ~InstanceHandover() override;

    // Takes the session's lock, or finds who holds it. Needs no QCoreApplication.
    Claim claim();
    // The process id of the copy holding the lock (after heldByAnother), 0 when unknown.
    qint64 holderPid() const;
    // Why the claim was unavailable, as one line: "cannot lock /run/user/1000/velmora-ui.lock",
    // "/tmp/velmora-ui-1000 belongs to another user (uid 1001)".
    QString unavailableReason() const;
    // Starts listening for later launches (after claimed; needs the application object).
    bool listen();
    // Asks the session's copy to show its popover, trying for up to `patienceMs` while that
    // copy is still starting; false when it could not be reached.
    bool requestShow(int patienceMs = 3000) const;

    QString lockPath() const;
    QString socketPath() const;

signals:
    void showRequested();

private:
    QString directory_; // empty when no folder can be trusted
    QString directoryProblem_;
    std::optional<QLockFile> lock_; // made once the directory is known
    QLocalServer* server_ = nullptr;
};

} // namespace velmora
