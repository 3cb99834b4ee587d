// The answer to the hook library's server query (the registered "PelluxRunnerSvrMessage"): the
// engine's identification, or a screen coordinate of the host's client area. Portable.
#pragma once

#include <cstdint>
#include <functional>

// "OBLE" read as a little-endian 32-bit number.
constexpr int32_t kServerIdentification = 'O' | ('B' << 8) | ('L' << 16) | ('E' << 24);
constexpr int32_t kServerQueryUnknown = -1;

struct ClientPoint {
    int32_t X, Y;
};

// wParam 0: the identification. wParam 1: lParam bit 0 picks the client origin (clear) or the
// bottom-right corner (set); lParam without bit 0 picks x (0) or y (2). Anything else: -1.
// toScreen converts a point of the host's client area to screen coordinates.
int32_t AnswerServerQuery(uint64_t wParam, int64_t lParam, int32_t clientWidth, int32_t clientHeight,
                          const std::function<ClientPoint(ClientPoint)>& toScreen);
