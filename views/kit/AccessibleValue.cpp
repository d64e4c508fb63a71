// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/AccessibleValue.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace velmora {

namespace {

constexpr const char* valueProperty = "velmoraAccessibleValue";

class ValuedWidget : public QAccessibleWidget {
public:
    explicit ValuedWidget(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return widget()->property(valueProperty).toString();
        }
        if (kind == QAccessible::Name && !widget()->accessibleName().isEmpty()) {
            return widget()->accessibleName();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* valuedWidgetFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->property(valueProperty).isValid()) {
        return new ValuedWidget(widget);
    }
    return nullptr;
}

} // namespace

void setAccessibleValue(QWidget* widget, const QString& value) {
    static const bool installed = [] {
        QAccessible::installFactory(valuedWidgetFactory);
        return true;
    }();
    (void)installed;
    if (widget->property(valueProperty).toString() == value &&
        widget->property(valueProperty).isValid()) {
        return;
    }
    widget->setProperty(valueProperty, value);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(widget, value);
        QAccessible::updateAccessibility(&event);
    }
}

QString accessibleValue(const QWidget* widget) {
    return widget->property(valueProperty).toString();
}

} // namespace velmora
