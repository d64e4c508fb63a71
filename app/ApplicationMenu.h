#pragma once

#include <QMenu>

class QAction;

namespace velmora {

// The application commands, in order: "About Velmora", "What Velmora accesses…", "What do the
// verdicts mean?", "Settings…", "Check for Updates…" (enabled only while updating is
// available), a separator, the version (always disabled), a separator and "Quit Velmora".
// It only emits intents.
class ApplicationMenu : public QMenu {
    Q_OBJECT
public:
    explicit ApplicationMenu(QWidget* parent = nullptr);

    void setUpdatesEnabled(bool enabled);
    void setVersionTitle(const QString& title);

signals:
    void aboutRequested();
    void trustAccessRequested();
    void verdictHelpRequested();
    void settingsRequested();
    void checkForUpdatesRequested();
    void quitRequested();

private:
    QAction* checkForUpdates_;
    QAction* version_;
};

} // namespace velmora
