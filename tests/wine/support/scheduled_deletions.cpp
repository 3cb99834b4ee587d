#include "support/scheduled_deletions.h"

#include <windows.h>

#include <cctype>

namespace testsupport {
namespace {

constexpr char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingRenames[] = "PendingFileRenameOperations";

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::vector<std::string> PendingRenameEntries() {
    std::vector<std::string> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return entries;
    DWORD size = 0, type = 0;
    if (RegQueryValueExA(key, kPendingRenames, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size > 0) {
        std::vector<char> data(size + 2, '\0');
        if (RegQueryValueExA(key, kPendingRenames, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            // Pairs of source and target; a deletion has an empty target, so empty strings count.
            for (size_t at = 0; at < size;) {
                const std::string entry(data.data() + at);
                entries.push_back(entry);
                at += entry.size() + 1;
            }
            while (!entries.empty() && entries.back().empty()) entries.pop_back();
        }
    }
    RegCloseKey(key);
    return entries;
}

bool DeletionScheduledFor(const std::string& path) {
    const std::string wanted = Lower(path);
    for (const std::string& entry : PendingRenameEntries()) {
        const std::string lower = Lower(entry);
        if (lower.size() >= wanted.size() && lower.compare(lower.size() - wanted.size(), wanted.size(), wanted) == 0)
            return true;
    }
    return false;
}

// Drops the source/target pairs whose source lies inside directory, so the value does not grow
// with every test run (a pair is kept whole: source, then target).
void ForgetScheduledDeletionsUnder(const std::string& directory) {
    if (directory.empty()) return;  // would match every entry
    const std::vector<std::string> entries = PendingRenameEntries();
    std::string kept;
    bool changed = false;
    for (size_t i = 0; i + 1 <= entries.size(); i += 2) {
        const std::string target = i + 1 < entries.size() ? entries[i + 1] : std::string();
        if (Lower(entries[i]).find(Lower(directory)) != std::string::npos) {
            changed = true;
            continue;
        }
        kept += entries[i] + '\0' + target + '\0';
    }
    if (!changed) return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (kept.empty()) {
        RegDeleteValueA(key, kPendingRenames);
    } else {
        kept += '\0';
        RegSetValueExA(key, kPendingRenames, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(kept.data()),
                       static_cast<DWORD>(kept.size()));
    }
    RegCloseKey(key);
}

}  // namespace testsupport
