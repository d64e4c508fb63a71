// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>

class QAction;

namespace velmora {

// The application commands, in order: "About Velmora", "What Velmora accesses…", "What do the
// verdicts mean?", "Settings…", "Check for Updates…" (always disabled: the package manager
// updates Velmora), a separator, the version (always disabled), a separator and "Quit Velmora".
// It only emits intents.
class ApplicationMenu : public QMenu {
    Q_OBJECT
public:
    explicit ApplicationMenu(QWidget* parent = nullptr);

    // Shows "Version <version>" in the version item.
    void setVersion(const QString& version);

signals:
    void aboutRequested();
    void trustAccessRequested();
    void verdictHelpRequested();
    void settingsRequested();
    void quitRequested();

private:
    QAction* version_;
};

} // namespace velmora
