// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/KeyedWidgetList.h"
#include "views/kit/SurfacePanel.h"

#include <string>
#include <utility>
#include <vector>

namespace velmora {

// A column of texts in one role and colour, each line identified by its text. Lines wrap
// unless a line limit is set; `prefix` goes before every line (e.g. "• ").
// Object names of the lines: `<lineName>:<index>`.
class TextLineList : public QWidget {
    Q_OBJECT
public:
    TextLineList(TypeRole role, ColorRef color, int spacing, QString lineName,
                 QWidget* parent = nullptr);

    void setLines(const std::vector<std::string>& lines);
    void setPrefix(const QString& prefix) { prefix_ = prefix; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    std::vector<VelmoraText*> lines() const { return lines_.widgets(); }

private:
    TypeRole role_;
    ColorRef color_;
    QString lineName_;
    QString prefix_;
    bool selectable_ = false;
    KeyedWidgetList<VelmoraText> lines_;
};

// One row per labelled value, identified by the label: the label in muted caption text on the
// left, the value in the metric font on the right. Rows are named `<rowName>:<label>`, with
// "metricLabel" and "metricValue" inside.
class LabeledValueList : public QWidget {
    Q_OBJECT
public:
    LabeledValueList(int spacing, QString rowName, QWidget* parent = nullptr);

    void setValues(const std::vector<std::pair<std::string, std::string>>& values);
    std::vector<QWidget*> rows() const { return rows_.widgets(); }

private:
    QString rowName_;
    KeyedWidgetList<QWidget> rows_;
};

} // namespace velmora
