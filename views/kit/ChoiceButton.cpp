// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ChoiceButton.h"

#include "views/kit/SurfacePanel.h"
#include "views/kit/VelmoraType.h"

namespace velmora {

PlainTextButton* choiceButton(const QString& label, const char* objectName, QWidget* parent) {
    auto* button = new PlainTextButton(parent);
    button->setObjectName(objectName);
    button->setLabel(label);
    button->setLabelFont(velmoraFont(TypeRole::caption, QFont::DemiBold));
    button->setCheckable(true); // assistive technology says which choice is in effect
    return button;
}

void markChosen(PlainTextButton* button, bool chosen) {
    button->setColor(paletteRef(chosen ? PaletteColor::neutralText : PaletteColor::mutedText));
    button->setChecked(chosen);
}

} // namespace velmora
