#include "state/VerdictTooltipCatalog.h"

#if __has_include("backend/ResourcesDirectory.h")
#include "backend/ResourcesDirectory.h"
#else
namespace velmora {
std::filesystem::path resourcesDirectory();
} // namespace velmora
#endif

namespace velmora {

const VerdictTooltipCatalog& VerdictTooltipCatalog::bundled() {
    static const VerdictTooltipCatalog catalog = load(resourcesDirectory() / "VerdictTooltips.txt");
    return catalog;
}

} // namespace velmora
