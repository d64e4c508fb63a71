#include "monitor/live/LiveView.h"

namespace velmora {

const FamilyView* findFamily(const LiveView* view, const std::string& key) {
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
