// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/WhereTexts.h"

#include "base/Translate.h"
#include "state/ActionTexts.h"
#include "state/LocalFigures.h"
#include "state/ShownLines.h"

namespace velmora {
namespace {

template <WireEnum E> std::optional<std::string> composed(const ActionCoded<E>& coded) {
    if (!coded.code.known) {
        return std::nullopt;
    }
    return patternText(wherePattern(*coded.code.known), coded.figures);
}

std::string callsText(int64_t calls) {
    if (calls == 1) {
        //: How often a place in a program's code allocated memory, as in "… kept 2.0 KB over
        //: 1 call".
        return translate("WhereSites", "1 call");
    }
    //: How often a place in a program's code allocated memory, as in "… kept 19.1 MB over
    //: 73 calls".
    return translate("WhereSites", "%n calls", nullptr, pluralCount(calls));
}

std::optional<std::string> placeText(const WhereSiteCodes& site) {
    if (!site.place.known) {
        return std::nullopt;
    }
    switch (*site.place.known) {
    case SitePlaceCode::inSource:
        //: A place in a program's code: %1 is a source file and line ("cache.cpp:5"), %2 a
        //: function ("leakyCacheInsert()").
        return withArguments(translate("WhereSites", "%1 in %2", "source file"),
                             {site.file, site.function});
    case SitePlaceCode::inLibrary:
        //: A place in a program's code: %1 is a function, %2 the library or program file it
        //: is in ("libcache.so").
        return withArguments(translate("WhereSites", "%1 in %2", "library"),
                             {site.function, site.module});
    case SitePlaceCode::function:
        return site.function;
    case SitePlaceCode::unknown:
        //: A place in a program's code that its symbols do not name.
        return translate("WhereSites", "an unknown place");
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> whereSiteText(const WhereSiteCodes& site) {
    auto place = placeText(site);
    if (!place) {
        return std::nullopt;
    }
    //: One place in a program's code that kept memory while it was tracked: %1 is the place
    //: ("cache.cpp:5 in leakyCacheInsert()"), %2 a size ("19.1 MB"), %3 how often it allocated
    //: ("73 calls").
    return withArguments(translate("WhereSites", "%1 kept %2 over %3"),
                         {*place, localSize(site.keptKiB), callsText(site.calls)});
}

std::optional<std::string> whereStatusText(const WhereStatusCodes& status) {
    return composed(status);
}

std::optional<std::string> whereFailureText(const std::vector<WhereFailureCodes>& sentences) {
    std::string text;
    for (const WhereFailureCodes& sentence : sentences) {
        auto written = composed(sentence);
        if (!written) {
            return std::nullopt;
        }
        text += (text.empty() ? "" : " ") + *written;
    }
    return text.empty() ? std::nullopt : std::optional(text);
}

std::optional<std::string> whereCommandText(const WhereCommandCodes& command) {
    return composed(command);
}

std::optional<std::string> whereNoteText(const WhereNoteCodes& note) {
    return composed(note);
}

std::string whereStatusShown(const WhereItGrowsBlock& block) {
    if (!block.codes) {
        return block.status;
    }
    if (block.stage == WhereStage::blocked) {
        return whereFailureText(block.codes->failure).value_or(block.status);
    }
    if (!block.codes->status) {
        return block.status;
    }
    return whereStatusText(*block.codes->status).value_or(block.status);
}

std::vector<std::string> whereNotesShown(const WhereItGrowsBlock& block) {
    return block.codes ? linesShown(block.codes->notes, block.notes, whereNoteText) : block.notes;
}

std::vector<std::string> whereSitesShown(const WhereItGrowsBlock& block) {
    std::vector<std::string> sent;
    for (const WhereSiteSnapshot& site : block.sites) {
        sent.push_back(site.headline);
    }
    return block.codes ? linesShown(block.codes->sites, sent, whereSiteText) : sent;
}

std::vector<NextCommandDescriptor> whereCommandsShown(const WhereItGrowsBlock& block) {
    std::vector<NextCommandDescriptor> commands = block.commands;
    if (!block.codes) {
        return commands;
    }
    std::vector<std::string> sent;
    for (const NextCommandDescriptor& command : commands) {
        sent.push_back(command.explanation);
    }
    const std::vector<std::string> shown =
        linesShown(block.codes->commands, sent, whereCommandText);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        commands[i].explanation = shown[i];
    }
    return commands;
}

} // namespace velmora
