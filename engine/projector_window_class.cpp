#include "engine/projector_window_class.h"

#include <cctype>

namespace {

constexpr char kProjectorWindowClass[] = "shockwaveflash";

}  // namespace

bool IsProjectorWindowClass(const std::string& className) {
    std::string lower = className;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower == kProjectorWindowClass;
}
