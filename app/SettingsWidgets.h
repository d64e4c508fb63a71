#pragma once

#include "views/VelmoraPalette.h"
#include "views/VelmoraType.h"

#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

class QVBoxLayout;

namespace velmora {

// A titled box holding one section of the Settings window.
class SettingsGroup : public QGroupBox {
public:
    SettingsGroup(const QString& title, QWidget* parent);
    QVBoxLayout* body() const { return body_; }

private:
    QVBoxLayout* body_;
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

// A collapsed group that opens when its header is pressed.
class DisclosureGroup : public QWidget {
public:
    DisclosureGroup(const QString& title, QWidget* parent);
    QVBoxLayout* body() const { return body_; }
    bool isExpanded() const;
    void setExpanded(bool expanded);

private:
    QToolButton* header_;
    QWidget* container_;
    QVBoxLayout* body_;
};

// A caption-sized, secondary label that wraps.
QLabel* settingsCaption(const QString& text, QWidget* parent);

} // namespace velmora
