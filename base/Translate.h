// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora {

// The texts a person reads that code without Qt writes (notifications, the no-tray hint, the
// launch-at-login status) pass through translate(). The app installs a translator that looks
// them up in the catalogue of the desktop's language; without one (the core's own tests, the
// command-line tools) they stay as written, in English. The call has the shape of
// QCoreApplication::translate, so the catalogue tools find the texts where they are written.
//
// `n` >= 0 picks the plural form of a text with "%n" and puts the number in its place.
std::string translate(const char* context, const char* source, const char* disambiguation = nullptr,
                      int n = -1);

// What the app installs: the same arguments, the text in the person's language as UTF-8.
using Translator = std::string (*)(const char* context, const char* source,
                                   const char* disambiguation, int n);
// nullptr puts the English texts back. Called before any thread that translates starts.
void setTranslator(Translator translator);

// `pattern` with its place markers "%1" to "%9" replaced by the arguments in that order, so a
// translation may move them wherever its language wants them. A marker without an argument
// stays as it is.
std::string withArguments(std::string_view pattern,
                          std::initializer_list<std::string_view> arguments);

} // namespace velmora

// Marks a text in a table for the catalogues (the tools read it as QT_TRANSLATE_NOOP); the text
// is translated where it is shown, with translate() and the same context.
#define VELMORA_TRANSLATE_NOOP(context, text) text
