// The one promise every fuzzer of the extraction path checks: a file the engine writes lands
// inside the directory it extracts into. Written apart from the engine's own rules, so a rule
// loosened there shows up here.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz_checks {

inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// A step Windows could read as "..": it drops trailing dots and blanks, so any step made of dots
// and blanks only that holds "..", such as "...", ".. " or ". ..".
inline bool MayClimb(const std::string& step) {
    return step.find_first_not_of(". ") == std::string::npos && step.find("..") != std::string::npos;
}

[[noreturn]] inline void Fail(const char* what, const std::string& path, const std::string& targetDir) {
    std::fprintf(stderr, "fuzz check failed: %s\n  path: \"%s\"\n  target: \"%s\"\n", what, path.c_str(),
                 targetDir.c_str());
    std::abort();
}

// directory + name (joined as the reader joins them) lies inside targetDir (which ends in "\").
inline void ExpectInsideTarget(std::string directory, const std::string& name, const std::string& targetDir) {
    if (!directory.empty() && !IsPathSeparator(directory.back()) && directory.back() != ':') directory += '\\';
    const std::string path = directory + name;
    if (path.compare(0, targetDir.size(), targetDir) != 0) Fail("outside the target directory", path, targetDir);
    std::string step;
    const std::string rest = path.substr(targetDir.size());
    if (!rest.empty() && IsPathSeparator(rest[0])) Fail("rooted below the target directory", path, targetDir);
    for (size_t i = 0; i <= rest.size(); ++i) {
        if (i == rest.size() || IsPathSeparator(rest[i])) {
            if (MayClimb(step)) Fail("a step that climbs out", path, targetDir);
            step.clear();
        } else if (rest[i] == ':') {
            Fail("a drive or stream inside the target directory", path, targetDir);
        } else {
            step += rest[i];
        }
    }
    if (name.empty() || IsPathSeparator(path.back())) Fail("no file name", path, targetDir);
}

}  // namespace fuzz_checks
