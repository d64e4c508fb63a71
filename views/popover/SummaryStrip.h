// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <QWidget>

namespace velmora {

class CriticalAttention;
class VelmoraText;

// The one-line summary under the header, on a softly tinted rounded strip that glows once when
// the tone turns critical.
class SummaryStrip : public QWidget {
    Q_OBJECT
public:
    explicit SummaryStrip(QWidget* parent = nullptr);

    void setContent(const QString& summaryText, SnapshotTone tone);
    double glow() const;
    SnapshotTone tone() const { return tone_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void syncCriticalGlow();
    void syncShadow();

    VelmoraText* text_;
    CriticalAttention* glow_;
    SnapshotTone tone_ = SnapshotTone::allClear;
    bool hasContent_ = false;
};

} // namespace velmora
