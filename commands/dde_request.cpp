#include "commands/dde_request.h"

#include "commands/ascii_case.h"

namespace {

constexpr char kDdePrefix[] = "dde:";

// Removes "name:" from the front of rest; false when rest does not begin with it.
bool TakeName(std::string& rest, const std::string& name) {
    const std::string expected = name + ":";
    if (rest.compare(0, expected.size(), expected) != 0) return false;
    rest.erase(0, expected.size());
    return true;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string& text) {
    std::string::size_type first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// What follows the quoted address; a text without quotes counts as having a tail.
std::string DataTail(const std::string& data) {
    if (data.empty() || data[0] != '"') return " ";
    const std::string::size_type closing = data.find('"', 1);
    return closing == std::string::npos ? std::string() : data.substr(closing + 1);
}

}  // namespace

bool IsAcceptedDdeRequest(const std::string& text, const std::string& application, const std::string& topic) {
    const std::string prefix = kDdePrefix;
    if (text.size() < prefix.size() || AsciiLower(text.substr(0, prefix.size())) != prefix) return false;
    std::string rest = text.substr(prefix.size());
    if (!TakeName(rest, application) || !TakeName(rest, topic)) return false;
    return !DataTail(Trim(rest)).empty();
}
