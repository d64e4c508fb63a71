// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationMenu.h"

namespace velmora {

ApplicationMenu::ApplicationMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("applicationMenu"));
    const auto item = [this](const QString& title, const char* name, auto signal) {
        auto* action = addAction(title);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, signal);
    };
    // Items that tell rather than do.
    const auto inert = [this](const QString& title, const char* name) {
        auto* action = addAction(title);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(false);
        return action;
    };
    item(QStringLiteral("About Velmora"), "aboutAction", &ApplicationMenu::aboutRequested);
    item(QStringLiteral("What Velmora accesses\u2026"), "trustAccessAction",
         &ApplicationMenu::trustAccessRequested);
    item(QStringLiteral("What do the verdicts mean?"), "verdictHelpAction",
         &ApplicationMenu::verdictHelpRequested);
    item(QStringLiteral("Settings\u2026"), "settingsAction", &ApplicationMenu::settingsRequested);
    inert(QStringLiteral("Check for Updates\u2026"), "checkForUpdatesAction");
    addSeparator();
    version_ = inert(QStringLiteral("Version"), "versionAction");
    addSeparator();
    item(QStringLiteral("Quit Velmora"), "quitAction", &ApplicationMenu::quitRequested);
}

void ApplicationMenu::setVersionTitle(const QString& title) {
    version_->setText(title);
}

} // namespace velmora
