// Which projector generation the engine is dealing with, from its file's product version.
#pragma once

#include <cstdint>

// productVersionMs: the most significant 32 bits of the product version (major << 16 | minor).
// Compared as a signed number, as the hook library expects.
inline bool IsVersion6OrLater(uint32_t productVersionMs) {
    return static_cast<int32_t>(productVersionMs) >= 0x00060000;
}
