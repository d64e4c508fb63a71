#pragma once

#include <QAbstractButton>
#include <QBasicTimer>

namespace velmora {

// A button that repaints on the spinner's cadence while it spins, and only while it is visible.
class SpinningButton : public QAbstractButton {
    Q_OBJECT
public:
    using QAbstractButton::QAbstractButton;

protected:
    void setSpinning(bool spinning);
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void syncTimer();

    bool spinning_ = false;
    QBasicTimer spinTimer_;
};

} // namespace velmora
