#include "monitor/compose/ComposeContext.h"

namespace velmora {

const FamilyView* ComposeContext::family(const std::string& key) const {
    if (view == nullptr) {
        return nullptr;
    }
    for (const FamilyView& candidate : view->families) {
        if (candidate.key == key) {
            return &candidate;
        }
    }
    return nullptr;
}

} // namespace velmora
