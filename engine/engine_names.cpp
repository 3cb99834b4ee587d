#include "engine/engine_names.h"

std::string SlotSuffix(int32_t slot) {
    std::string suffix = engine_names::kSlotSuffixBase;
    if (slot != 0) suffix += std::to_string(slot);
    return suffix;
}

std::string WorkDirCandidate(const std::string& base, int32_t slot) {
    std::string candidate = base + engine_names::kWorkDirBase;
    if (slot != 0) candidate += std::to_string(slot);
    return candidate;
}

std::string MappingName(const std::string& slotSuffix) {
    return engine_names::kMappingPrefix + slotSuffix;
}

std::string RunnerMessageName(const std::string& slotSuffix) {
    return engine_names::kRunnerMessagePrefix + slotSuffix;
}

std::string RunMarkerAtomText(const std::string& exeName) {
    return engine_names::kRunMarkerPrefix + exeName;
}

std::string WithFinalBackslash(const std::string& path) {
    if (path.empty() || path.back() == '\\') return path;
    return path + '\\';
}
