#include "engine/full_temporary_base.h"

#include <cctype>

namespace {

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "C:" of "C:\dir\", or "\\server\share" of "\\server\share\dir\".
std::string RootOf(const std::string& fullDir) {
    if (HasDrive(fullDir)) return fullDir.substr(0, 2);
    if (fullDir.size() >= 2 && IsSeparator(fullDir[0]) && IsSeparator(fullDir[1])) {
        const size_t server = fullDir.find_first_of("\\/", 2);
        if (server == std::string::npos) return fullDir;
        const size_t share = fullDir.find_first_of("\\/", server + 1);
        return share == std::string::npos ? fullDir : fullDir.substr(0, share);
    }
    return std::string();
}

bool SameDrive(const std::string& a, const std::string& b) {
    return HasDrive(a) && HasDrive(b) &&
           std::toupper(static_cast<unsigned char>(a[0])) == std::toupper(static_cast<unsigned char>(b[0]));
}

}  // namespace

std::string FullTemporaryBase(const std::string& base, const std::string& programDir) {
    if (base.empty()) return programDir;
    if (IsSeparator(base[0])) {
        if (base.size() >= 2 && IsSeparator(base[1])) return base;  // "\\server\share\..."
        return RootOf(programDir) + base;                            // rooted on the program's drive
    }
    if (HasDrive(base)) {
        if (base.size() >= 3 && IsSeparator(base[2])) return base;  // "C:\..."
        // "D:Temp\": relative to a drive's current directory, which only the program's own drive
        // has a known value for.
        return SameDrive(base, programDir) ? programDir + base.substr(2) : base.substr(0, 2) + "\\" + base.substr(2);
    }
    return programDir + base;
}
