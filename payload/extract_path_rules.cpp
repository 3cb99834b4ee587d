#include "payload/extract_path_rules.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Windows drops trailing dots and spaces from a path step, so "..", "...", ". ." all climb.
bool ClimbsUp(const std::string& step) {
    if (step.empty() || step == ".") return false;
    for (char c : step)
        if (c != '.' && c != ' ') return false;
    return true;
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || ClimbsUp(name)) return false;
    for (char c : name)
        if (IsSeparator(c) || c == ':') return false;
    return true;
}

bool IsContainedRelativePath(const std::string& path) {
    if (!path.empty() && IsSeparator(path[0])) return false;
    std::string step;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (ClimbsUp(step)) return false;
            step.clear();
        } else if (path[i] == ':') {
            return false;
        } else {
            step += path[i];
        }
    }
    return true;
}

bool IsSafeRecordPlacement(const std::string& placement) {
    if (placement.compare(0, 6, "VTOOL.") == 0) return true;
    return IsContainedRelativePath(placement);
}

bool IsInsideTargetDir(const std::string& directory, const std::string& targetDir) {
    std::string base = targetDir;
    if (!base.empty() && !IsSeparator(base.back()) && base.back() != ':') base += '\\';
    if (directory.compare(0, base.size(), base) != 0) {
        // The target directory itself, written without its final separator.
        return directory == targetDir;
    }
    return IsContainedRelativePath(directory.substr(base.size()));
}
