#include "engine/hook_load_message.h"

#include "engine/engine_names.h"

std::string TrimSystemErrorText(const std::string& systemText) {
    size_t length = systemText.size();
    while (length > 0) {
        const unsigned char c = static_cast<unsigned char>(systemText[length - 1]);
        if (c > ' ' && c != '.') break;
        --length;
    }
    return systemText.substr(0, length);
}

std::string HookLibraryLoadFailureText(bool fileExists, const std::string& systemText) {
    std::string text = engine_names::kHookLibraryName;
    if (fileExists) text += " exists but have";
    text += " not loaded: ";
    text += TrimSystemErrorText(systemText);
    return text;
}
