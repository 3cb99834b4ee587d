// The system's Media Control Interface behind MciCalls.
#pragma once

#include "commands/mci_calls.h"

class Win32MciCalls : public MciCalls {
public:
    uint32_t Open(uint32_t flags, uintptr_t callback, const std::string& deviceType, const std::string& element,
                  uint16_t& deviceId) override;
    uint32_t Generic(uint16_t deviceId, uint32_t command, uint32_t flags, uintptr_t callback) override;
    uint32_t Play(uint16_t deviceId, uint32_t flags, uintptr_t callback, uint32_t from, uint32_t to) override;
    uint32_t Status(uint16_t deviceId, uint32_t flags, uint32_t item, uint32_t& value) override;
    bool ErrorText(uint32_t code, std::string& text) override;
};
