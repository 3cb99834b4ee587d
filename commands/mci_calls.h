// The Media Control Interface commands the MIDI player sends, behind a small interface: the engine
// uses the system's (commands/win32/win32_mci_calls.h), tests a fake device. Portable: no
// <windows.h>; the constants mirror the system's values. Every call returns the MCI result code,
// 0 on success.
#pragma once

#include <cstdint>
#include <string>

namespace mci {

constexpr uint32_t kOpen = 0x803;
constexpr uint32_t kClose = 0x804;
constexpr uint32_t kPlay = 0x806;
constexpr uint32_t kSeek = 0x807;
constexpr uint32_t kStop = 0x808;
constexpr uint32_t kStatus = 0x814;

constexpr uint32_t kNotify = 0x1;
constexpr uint32_t kWait = 0x2;
constexpr uint32_t kFrom = 0x4;
constexpr uint32_t kTo = 0x8;
constexpr uint32_t kOpenShareable = 0x100;
constexpr uint32_t kOpenElement = 0x200;
constexpr uint32_t kOpenType = 0x2000;
constexpr uint32_t kSeekToStart = 0x100;
constexpr uint32_t kStatusItem = 0x100;

constexpr uint32_t kStatusLength = 1;
constexpr uint32_t kStatusPosition = 2;
constexpr uint32_t kStatusMode = 4;
constexpr uint32_t kModeNotReady = 524;  // then stopped, playing, recording, seeking, paused, open

// MM_MCINOTIFY's wParam.
constexpr uintptr_t kNotifySuccessful = 1;
constexpr uintptr_t kNotifySuperseded = 2;
constexpr uintptr_t kNotifyAborted = 4;
constexpr uintptr_t kNotifyFailure = 8;

}  // namespace mci

class MciCalls {
public:
    virtual ~MciCalls() = default;

    // deviceType empty: chosen by the element's extension. callback: the window for MM_MCINOTIFY.
    virtual uint32_t Open(uint32_t flags, uintptr_t callback, const std::string& deviceType,
                          const std::string& element, uint16_t& deviceId) = 0;
    // close, stop, seek: the generic parameters.
    virtual uint32_t Generic(uint16_t deviceId, uint32_t command, uint32_t flags, uintptr_t callback) = 0;
    virtual uint32_t Play(uint16_t deviceId, uint32_t flags, uintptr_t callback, uint32_t from, uint32_t to) = 0;
    virtual uint32_t Status(uint16_t deviceId, uint32_t flags, uint32_t item, uint32_t& value) = 0;
    // The system's text for an MCI error code; false when it has none.
    virtual bool ErrorText(uint32_t code, std::string& text) = 0;
};
