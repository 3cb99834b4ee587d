#include "engine/placement_dir_removal.h"

std::vector<std::string> PlacementDirRemovalOrder(const std::vector<std::string>& placementDirs) {
    std::vector<std::string> order;
    for (auto entry = placementDirs.rbegin(); entry != placementDirs.rend(); ++entry) {
        std::string text = *entry;
        if (!text.empty() && text.back() == '\\') text.pop_back();
        while (!text.empty()) {
            order.push_back(text);
            const size_t separator = text.rfind('\\');
            text.erase(separator == std::string::npos ? 0 : separator);
        }
    }
    return order;
}
