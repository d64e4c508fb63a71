// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace velmora {

// The accessibility value of a control (for instance "Working", "Active" or "Ready"), reported
// to assistive technology as the accessible Value text of the widget.
void setAccessibleValue(QWidget* widget, const QString& value);
QString accessibleValue(const QWidget* widget);

} // namespace velmora
