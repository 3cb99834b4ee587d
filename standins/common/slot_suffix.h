// The stand-ins find the engine's shared control block by the same slot suffix the engine uses:
// "_OBL_RT" for slot 0, "_OBL_RT" + the decimal slot number otherwise. They learn the slot from
// names the engine gives them: the hook library's numbered file name, the working directory name.
#pragma once

#include <cctype>
#include <string>

#include "engine/engine_names.h"

namespace standin {

inline std::string SuffixForSlot(const std::string& digits) {
    const std::string base = engine_names::kSlotSuffixBase;
    return (digits.empty() || digits == "0") ? base : base + digits;
}

inline std::string LastPathPart(std::string path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    const std::string::size_type cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// "C:\...\quenbyrun3.dll" -> "_OBL_RT3"; "quenbyrun0.dll" -> "_OBL_RT". Empty when the name ends in
// no slot number (the library loaded under its shipped name) or in a negative one ("quenbyrun-1").
inline std::string SuffixFromLibraryPath(const std::string& path) {
    std::string name = LastPathPart(path);
    const std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    std::string::size_type start = name.size();
    while (start > 0 && std::isdigit(static_cast<unsigned char>(name[start - 1]))) --start;
    if (start == name.size() || (start > 0 && name[start - 1] == '-')) return {};
    return SuffixForSlot(name.substr(start));
}

// "C:\...\Obl_Rt\" -> "_OBL_RT"; "C:\...\Obl_Rt3\" -> "_OBL_RT3". Empty for any other directory name.
inline std::string SuffixFromWorkDir(const std::string& workDir) {
    const std::string name = LastPathPart(workDir);
    const std::string base = engine_names::kWorkDirBase;
    if (name.size() < base.size()) return {};
    for (std::string::size_type i = 0; i < base.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(base[i])))
            return {};
    }
    const std::string digits = name.substr(base.size());
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return {};
    }
    return SuffixForSlot(digits);
}

inline std::string BlockMappingName(const std::string& suffix) {
    return std::string(engine_names::kMappingPrefix) + suffix;
}

}  // namespace standin
