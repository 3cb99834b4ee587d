#include "window/global_close_rule.h"

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int DigitValue(char c, int base) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (Lower(c) >= 'a' && Lower(c) <= 'f') digit = Lower(c) - 'a' + 10;
    return digit < base ? digit : -1;
}

}  // namespace

bool GlobalCloseNamesProgram(const std::string& atomText, const std::string& exeName) {
    const std::string::size_type cut = atomText.find_last_of("\\:");
    const std::string name = cut == std::string::npos ? atomText : atomText.substr(cut + 1);
    if (name.size() != exeName.size()) return false;
    for (std::string::size_type i = 0; i < name.size(); ++i) {
        if (Lower(name[i]) != Lower(exeName[i])) return false;
    }
    return true;
}

bool ParseHandleValue(const std::string& text, int64_t& value) {
    std::string::size_type at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    int base = 10;
    if (text.compare(at, 1, "$") == 0) {
        base = 16;
        at += 1;
    } else if (text.size() >= at + 2 && text[at] == '0' && Lower(text[at + 1]) == 'x') {
        base = 16;
        at += 2;
    }
    if (at >= text.size()) return false;
    constexpr int64_t kLimit = int64_t{1} << 32;
    int64_t magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at], base);
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude >= kLimit) return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

bool HandleValueMatches(int64_t value, uint32_t field) {
    return value == static_cast<int64_t>(field) || value == static_cast<int64_t>(static_cast<int32_t>(field));
}
