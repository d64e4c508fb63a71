// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/help/TranslatedTooltip.h"

#include <QCoreApplication>

namespace velmora {
namespace {

constexpr const char* context = "VerdictTooltips";

// The texts of the bundled catalogue, listed for the translation tools, which read sources
// only. Keep them as the file writes them: the help window's test in the pseudo-language
// shows any that is missing here untranslated.
[[maybe_unused]] constexpr const char* bundledTexts[] = {
    QT_TRANSLATE_NOOP("VerdictTooltips", "Watch: memory is climbing slowly"),
    QT_TRANSLATE_NOOP("VerdictTooltips",
                      "This process family has used a little more memory on each recent pass. That "
                      "alone is common and often harmless."),
    QT_TRANSLATE_NOOP(
        "VerdictTooltips",
        "Caches, large documents and warm-up after launch grow the same way and then level off."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "Nothing to do yet. Keep working; Velmora keeps sampling "
                                         "and will say so if the growth continues."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "Suspect: growth has not levelled off"),
    QT_TRANSLATE_NOOP("VerdictTooltips", "Memory has kept rising across many samples without "
                                         "coming back down, which is how leaks usually start."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "A long export, an indexing job or a big build can hold "
                                         "memory for minutes and then release it."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "Save your work in this app. If the growth continues "
                                         "after the task you are running ends, plan a restart."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "Probable leak: steady growth with supporting evidence"),
    QT_TRANSLATE_NOOP("VerdictTooltips",
                      "The growth is steady and other signals agree: history, the growth curve or "
                      "repeated incidents from the same app."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "An app that legitimately holds more and more data, such "
                                         "as a long-running editor session, can look the same."),
    QT_TRANSLATE_NOOP("VerdictTooltips",
                      "Restart it at a convenient moment. Capture evidence first if you want to "
                      "report the problem to its developers."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "Critical runaway: memory is running out fast"),
    QT_TRANSLATE_NOOP("VerdictTooltips",
                      "This process is growing quickly enough to exhaust free memory soon, and the "
                      "whole machine may slow down or freeze."),
    QT_TRANSLATE_NOOP("VerdictTooltips", "A one-off burst, such as loading a very large file, can "
                                         "look like this for a short while."),
    QT_TRANSLATE_NOOP(
        "VerdictTooltips",
        "Save your work now, then restart or quit the process. Velmora never does this for you."),
};

std::string translated(const std::string& text) {
    return QCoreApplication::translate(context, text.c_str()).toStdString();
}

} // namespace

VerdictTooltip translatedTooltip(const VerdictTooltip& tooltip) {
    VerdictTooltip result = tooltip;
    for (std::string* text : {&result.title, &result.meaning, &result.wrong, &result.posture}) {
        *text = translated(*text);
    }
    return result;
}

} // namespace velmora
