// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/SurfacePanel.h"

class QVBoxLayout;

namespace velmora {

// A titled block of the detail and history surfaces: the eyebrow title (tracking 1) above the
// content, spacing 8, padded 16, on an inset rounded rectangle with an insetStroke border.
// Object name of the title: "blockTitle".
class SectionBlock : public Panel {
    Q_OBJECT
public:
    SectionBlock(double radius, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    QString title() const { return title_->displayText(); }
    // The layout below the title that holds the block's content.
    QVBoxLayout* content() const { return content_; }

private:
    VelmoraText* title_;
    QVBoxLayout* content_;
};

// The header row of a drill-down surface: a capsule back button (chevron and label), flexible
// space, and an eyebrow (tracking 1.2). Object names: "backButton", "backLabel", "eyebrow".
class SurfaceHeader : public QWidget {
    Q_OBJECT
public:
    SurfaceHeader(const QString& backLabel, const QString& eyebrow, QWidget* parent = nullptr);

    PanelButton* backButton() const { return back_; }

private:
    PanelButton* back_;
};

} // namespace velmora
