#include "window/server_query.h"

int32_t AnswerServerQuery(uint64_t wParam, int64_t lParam, int32_t clientWidth, int32_t clientHeight,
                          const std::function<ClientPoint(ClientPoint)>& toScreen) {
    if (wParam == 0) return kServerIdentification;
    if (wParam != 1) return kServerQueryUnknown;
    const int64_t coordinate = lParam & ~int64_t{1};
    if (coordinate != 0 && coordinate != 2) return kServerQueryUnknown;
    const ClientPoint corner = (lParam & 1) ? ClientPoint{clientWidth, clientHeight} : ClientPoint{0, 0};
    const ClientPoint screen = toScreen(corner);
    return coordinate == 0 ? screen.X : screen.Y;
}
