// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Translate.h"

#include <atomic>
#include <vector>

namespace velmora {
namespace {

std::atomic<Translator> installedTranslator{nullptr};

std::string withCount(std::string text, int n) {
    const std::string number = std::to_string(n);
    for (auto at = text.find("%n"); at != std::string::npos; at = text.find("%n", at)) {
        text.replace(at, 2, number);
        at += number.size();
    }
    return text;
}

} // namespace

std::string translate(const char* context, const char* source, const char* disambiguation, int n) {
    if (const Translator translator = installedTranslator.load(std::memory_order_acquire)) {
        return translator(context, source, disambiguation, n);
    }
    return n >= 0 ? withCount(source, n) : std::string(source);
}

void setTranslator(Translator translator) {
    installedTranslator.store(translator, std::memory_order_release);
}

std::string withArguments(std::string_view pattern,
                          std::initializer_list<std::string_view> arguments) {
    const std::vector<std::string_view> values(arguments);
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char next = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (pattern[at] == '%' && next >= '1' && next <= '9' && index < values.size()) {
            text += values[index];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

} // namespace velmora
