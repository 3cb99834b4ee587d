#include "payload/password_gate.h"

#include "payload/password_hash.h"

bool AskPasswordWith(bool passwordRequired, int32_t storedHash, const PasswordGateSteps& steps) {
    if (!passwordRequired) return true;
    const int32_t cancelHash = PasswordHash(kPasswordCancelMarker);
    for (int attempt = 0; attempt < kPasswordTries; ++attempt) {
        const int32_t entered = PasswordHash(steps.Prompt());
        if (entered == storedHash) return true;
        if (entered == cancelHash) return false;
        steps.ReportWrongEntry();
    }
    return false;
}
