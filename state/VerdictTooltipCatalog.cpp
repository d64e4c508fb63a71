// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/VerdictTooltipCatalog.h"

#include "base/Utf8.h"
#include "state/WhitespaceAndCase.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace velmora {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// Splits at every line break; a CR LF pair therefore gives an empty line between the two.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t lineStart = 0;
    for (std::size_t offset = 0; offset < text.size();) {
        const utf8::Unit unit = utf8::decodeAt(text, offset);
        if (utf8text::isLineBreak(unit.codePoint)) {
            lines.push_back(text.substr(lineStart, offset - lineStart));
            lineStart = offset + unit.length;
        }
        offset += unit.length;
    }
    lines.push_back(text.substr(lineStart));
    return lines;
}

bool isHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

class SectionBuilder {
public:
    explicit SectionBuilder(std::map<std::string, VerdictTooltip, std::less<>>& into)
        : into_(into) {}

    void open(std::string_view id) {
        close();
        id_ = std::string(id);
        fields_.clear();
    }

    void set(std::string_view key, std::string_view value) {
        if (id_) {
            fields_.insert_or_assign(std::string(key), std::string(value));
        }
    }

    void close() {
        if (!id_) {
            return;
        }
        const auto title = fields_.find("title");
        const auto meaning = fields_.find("meaning");
        const auto wrong = fields_.find("wrong");
        const auto posture = fields_.find("posture");
        if (title != fields_.end() && meaning != fields_.end() && wrong != fields_.end() &&
            posture != fields_.end()) {
            into_.insert_or_assign(*id_, VerdictTooltip{*id_, title->second, meaning->second,
                                                        wrong->second, posture->second});
        }
        id_.reset();
        fields_.clear();
    }

private:
    std::map<std::string, VerdictTooltip, std::less<>>& into_;
    std::optional<std::string> id_;
    std::map<std::string, std::string, std::less<>> fields_;
};

} // namespace

VerdictTooltipCatalog VerdictTooltipCatalog::parse(std::string_view text) {
    VerdictTooltipCatalog catalog;
    SectionBuilder section(catalog.tooltips);
    for (std::string_view raw : splitLines(text)) {
        const std::string_view line = utf8text::trim(raw, utf8text::isWhitespaceOrNewline);
        if (line.empty()) {
            continue;
        }
        if (isHeader(line)) {
            section.open(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos) {
            section.set(utf8text::trim(line.substr(0, equals), utf8text::isSpace),
                        utf8text::trim(line.substr(equals + 1), utf8text::isSpace));
        }
    }
    section.close();
    return catalog;
}

VerdictTooltipCatalog VerdictTooltipCatalog::load(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return {};
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return {};
    }
    std::ostringstream contents;
    contents << stream.rdbuf();
    if (stream.bad()) {
        return {};
    }
    std::string text = std::move(contents).str();
    if (!utf8::isValid(text)) {
        return {};
    }
    std::string_view view = text;
    if (view.starts_with(byteOrderMark)) {
        view.remove_prefix(byteOrderMark.size());
    }
    return parse(view);
}

const std::vector<std::string>& VerdictTooltipCatalog::listedIDs() {
    static const std::vector<std::string> ids{"watch", "suspect", "probable", "criticalRunaway"};
    return ids;
}

std::vector<VerdictTooltip> VerdictTooltipCatalog::orderedTooltips() const {
    std::vector<VerdictTooltip> ordered;
    for (const std::string& id : listedIDs()) {
        if (const VerdictTooltip* tooltip = find(id)) {
            ordered.push_back(*tooltip);
        }
    }
    return ordered;
}

const VerdictTooltip* VerdictTooltipCatalog::find(std::string_view id) const {
    const auto found = tooltips.find(id);
    return found == tooltips.end() ? nullptr : &found->second;
}

} // namespace velmora
