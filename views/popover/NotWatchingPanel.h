// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/popover/NotWatchingNotice.h"

#include <QWidget>
#include <functional>

namespace velmora {

class ActionCapsuleButton;
class NotWatchingIcon;
class VelmoraText;

// The section under the header while the monitor is not watching: the tray's not-watching icon,
// "Velmora is not watching", why and what happens next, how old the rows below are, and the
// "Restart monitor" button, which reports through `onRestart`. Pressed, the button spins until
// the new monitor answers or fails. While the first monitor is starting it shows the icon (without
// its "!") and the title alone.
class NotWatchingPanel : public QWidget {
    Q_OBJECT
public:
    explicit NotWatchingPanel(QWidget* parent = nullptr);

    void setNotice(const NotWatchingNotice& notice);
    const NotWatchingNotice& notice() const { return notice_; }
    void setOnRestart(std::function<void()> onRestart) { onRestart_ = std::move(onRestart); }
    ActionCapsuleButton* restartButton() const { return restart_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    NotWatchingNotice notice_;
    NotWatchingIcon* icon_;
    VelmoraText* title_;
    VelmoraText* detail_;
    VelmoraText* lastUpdated_;
    ActionCapsuleButton* restart_;
    std::function<void()> onRestart_;
};

} // namespace velmora
