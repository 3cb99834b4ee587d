#include "engine/host_window_failure.h"

#include "engine/engine_names.h"
#include "engine/hook_load_message.h"

std::string HostWindowFailureText(const std::string& systemText) {
    std::string text = engine_names::kCantCreateHostWindow;
    const std::string reason = TrimSystemErrorText(systemText);
    if (!reason.empty()) text += ": " + reason;
    return text;
}
