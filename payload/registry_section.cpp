#include "payload/registry_section.h"

#include <cstdint>

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

std::string RegistrySectionName(const std::string& programFileName) {
    const std::size_t slash = programFileName.find_last_of("\\/:");
    const std::string fileName = slash == std::string::npos ? programFileName : programFileName.substr(slash + 1);
    const std::size_t exe = LowerAscii(fileName).find(".exe");
    return exe == std::string::npos ? std::string() : fileName.substr(0, exe);
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseSettingsNumber(const std::string& text, int32_t& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t number = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const int digit = HexDigit(text[i]);
            if (digit < 0) return false;
            number = number * 16 + static_cast<uint64_t>(digit);
            if (number > 0xFFFFFFFFull) return false;
        }
        value = static_cast<int32_t>(static_cast<uint32_t>(number));
        return true;
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
    uint64_t number = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        number = number * 10 + static_cast<uint64_t>(text[i] - '0');
        if (number > limit) return false;
    }
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(number)) : static_cast<int32_t>(number);
    return true;
}
