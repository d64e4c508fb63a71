// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraType.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QToolButton>
#include <string_view>

class QScrollArea;
class QVBoxLayout;

namespace velmora {

// A titled box holding one section of the Settings window.
class SettingsGroup : public QGroupBox {
public:
    SettingsGroup(const QString& title, QWidget* parent);
    // The layout of the section's controls.
    QVBoxLayout* body() const { return body_; }

private:
    QVBoxLayout* body_ = nullptr;
};

// A two-part row: the title as a small label over the value as selectable text.
class SettingsLine : public QWidget {
public:
    SettingsLine(const QString& title, QWidget* parent);
    void setValue(const QString& value);
    QLabel* valueLabel() const { return value_; }

private:
    QLabel* value_;
};

// A collapsed group that opens when its header is pressed. Inside a scroll area, opening or
// closing it lays the page out at once; opening scrolls just enough to bring the opened body
// into view, keeping the header in sight.
class DisclosureGroup : public QWidget {
public:
    DisclosureGroup(const QString& title, QWidget* parent);
    QVBoxLayout* body() const { return body_; }
    bool isExpanded() const;
    void setExpanded(bool expanded);

private:
    void reveal(QScrollArea* area);

    QToolButton* header_;
    QWidget* container_;
    QVBoxLayout* body_;
};

// A caption-sized, secondary label that wraps.
QLabel* settingsCaption(const QString& text, QWidget* parent);

// A page that scrolls vertically only: `content` takes the viewport's width and the height its
// wrapped texts need at that width.
QScrollArea* verticalScrollPage(QWidget* content, QWidget* parent = nullptr);

// The glyph `name` as an icon of `size` px (sharp on high-density screens), in the palette's
// neutral text colour when selected ("on") and its muted text colour otherwise.
QIcon symbolIcon(std::string_view name, int size, const VelmoraPalette& palette);

// The Qt palette of a standard window in the current light or dark appearance: the
// application palette when it already has that appearance, otherwise one made of the
// appearance's own colours (a dark desktop whose toolkit theme stays light, and the reverse).
QPalette appearanceWindowPalette();

// Gives `window` the appearance's window palette, now and whenever the appearance flips.
void followAppearance(QWidget* window);

} // namespace velmora
