// The stand-in projector's demo picture, for tests that look at a pixel: the whole client area is
// the background colour except a centred disc (the shape colour, inside the middle half of the
// client area) and the line "stagehost demo movie" below it. A band of kBackgroundMargin pixels
// along every edge of the client area always shows the background. Portable: no system headers.
#pragma once

#include <cstdint>

namespace standin {

struct DemoColor {
    uint8_t red, green, blue;
    // As a Windows COLORREF (0x00BBGGRR), the value GetPixel returns.
    constexpr uint32_t ColorRef() const { return red | (green << 8) | (static_cast<uint32_t>(blue) << 16); }
};

constexpr DemoColor kBackgroundColor{32, 160, 96};
constexpr DemoColor kShapeColor{250, 200, 40};
constexpr DemoColor kTextColor{255, 255, 255};
constexpr int kBackgroundMargin = 10;

constexpr const char kDemoText[] = "stagehost demo movie";

}  // namespace standin
