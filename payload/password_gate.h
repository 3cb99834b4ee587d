// The password gate: up to three prompts before the presentation starts. Portable; the engine
// passes its dialog, its pause and its message box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct PasswordGateSteps {
    // Shows the prompt once: the entered text, or kPasswordCancelMarker when it was not accepted.
    std::function<std::string()> Prompt;
    // After a wrong entry: the pause, then the wrong-password message, returning when it is closed.
    std::function<void()> ReportWrongEntry;
};

inline constexpr int kPasswordTries = 3;

// passwordRequired: the "Password" setting is 1. storedHash: "AlignmentX". True when the
// presentation may go on.
bool AskPasswordWith(bool passwordRequired, int32_t storedHash, const PasswordGateSteps& steps);
