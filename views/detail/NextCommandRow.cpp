// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/NextCommandRow.h"

#include "state/DetailTexts.h"
#include "views/detail/DetailActionChip.h"

#include <QBoxLayout>

namespace velmora {

NextCommandRow::NextCommandRow(QWidget* parent)
    : Panel(PanelStyle{8, paletteRef(PaletteColor::coolSurface, 0.72), {}, {}, 0}, parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    command_ = makeText(TypeRole::metric, {}, paletteRef(PaletteColor::neutralText), 2, this);
    command_->setObjectName("command");
    explanation_ = makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 0, this);
    explanation_->setObjectName("commandExplanation");
    texts->addWidget(command_);
    texts->addWidget(explanation_);
    layout->addLayout(texts, 1);
    chip_ = new DetailActionChip(this);
    chip_->setObjectName("commandChip");
    layout->addWidget(chip_, 0, Qt::AlignTop);
}

void NextCommandRow::setNextCommand(const NextCommandDescriptor& command) {
    setObjectName(QString::fromStdString("nextCommand:" + command.action.id));
    command_->setText(QString::fromStdString(command.command));
    explanation_->setText(QString::fromStdString(commandExplanationShown(command)));
    chip_->setAction(command.action);
}

void NextCommandRow::setPending(bool pending) {
    chip_->setPending(pending);
}

void NextCommandRow::setOnCopy(std::function<void()> onCopy) {
    chip_->setOnTap(std::move(onCopy));
}

} // namespace velmora
