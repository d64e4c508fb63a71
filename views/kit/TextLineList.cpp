// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/TextLineList.h"

#include <QBoxLayout>

namespace velmora {

TextLineList::TextLineList(TypeRole role, ColorRef color, int spacing, QString lineName,
                           QWidget* parent)
    : QWidget(parent), role_(role), color_(color), lineName_(std::move(lineName)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    lines_.attach(layout);
}

void TextLineList::setLines(const std::vector<std::string>& lines) {
    int index = 0;
    lines_.reconcile(
        lines, [](const std::string& line) { return line; },
        [this](const std::string&) {
            auto* text = makeText(role_, {}, color_, 0, this);
            text->setSelectable(selectable_);
            return text;
        },
        [this, &index](VelmoraText& text, const std::string& line) {
            text.setObjectName(lineName_ + ":" + QString::number(index++));
            text.setText(prefix_ + QString::fromStdString(line));
        });
    setShown(this, !lines.empty());
}

LabeledValueList::LabeledValueList(int spacing, QString rowName, QWidget* parent)
    : QWidget(parent), rowName_(std::move(rowName)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    rows_.attach(layout);
}

void LabeledValueList::setValues(const std::vector<std::pair<std::string, std::string>>& values) {
    rows_.reconcile(
        values, [](const auto& value) { return value.first; },
        [this](const auto&) {
            auto* row = new QWidget(this);
            auto* layout = new QHBoxLayout(row);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(8);
            auto* label =
                makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 1, row);
            label->setObjectName("metricLabel");
            auto* value =
                makeText(TypeRole::metric, {}, paletteRef(PaletteColor::neutralText), 1, row);
            value->setObjectName("metricValue");
            value->setTextAlignment(Qt::AlignRight);
            layout->addWidget(label, 1, Qt::AlignVCenter);
            layout->addWidget(value, 0, Qt::AlignVCenter);
            return row;
        },
        [this](QWidget& row, const auto& value) {
            row.setObjectName(rowName_ + ":" + QString::fromStdString(value.first));
            row.findChild<VelmoraText*>("metricLabel")
                ->setText(QString::fromStdString(value.first));
            row.findChild<VelmoraText*>("metricValue")
                ->setText(QString::fromStdString(value.second));
        });
}

} // namespace velmora
