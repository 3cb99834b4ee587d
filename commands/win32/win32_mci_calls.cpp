#include "commands/win32/win32_mci_calls.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

static_assert(mci::kOpen == MCI_OPEN && mci::kClose == MCI_CLOSE && mci::kPlay == MCI_PLAY && mci::kSeek == MCI_SEEK &&
                  mci::kStop == MCI_STOP && mci::kStatus == MCI_STATUS,
              "MCI commands");
static_assert(mci::kNotify == MCI_NOTIFY && mci::kWait == MCI_WAIT && mci::kFrom == MCI_FROM && mci::kTo == MCI_TO &&
                  mci::kOpenShareable == MCI_OPEN_SHAREABLE && mci::kOpenElement == MCI_OPEN_ELEMENT &&
                  mci::kOpenType == MCI_OPEN_TYPE && mci::kSeekToStart == MCI_SEEK_TO_START &&
                  mci::kStatusItem == MCI_STATUS_ITEM,
              "MCI flags");
static_assert(mci::kModeNotReady == MCI_MODE_NOT_READY && mci::kStatusMode == MCI_STATUS_MODE, "MCI status");

namespace {

constexpr size_t kErrorTextLength = 4096;

}  // namespace

uint32_t Win32MciCalls::Open(uint32_t flags, uintptr_t callback, const std::string& deviceType,
                             const std::string& element, uint16_t& deviceId) {
    MCI_OPEN_PARMSA parameters = {};
    parameters.dwCallback = callback;
    if (flags & MCI_OPEN_TYPE) parameters.lpstrDeviceType = deviceType.c_str();
    if (flags & MCI_OPEN_ELEMENT) parameters.lpstrElementName = element.c_str();
    const MCIERROR result = mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&parameters));
    if (result == 0) deviceId = static_cast<uint16_t>(parameters.wDeviceID);
    return static_cast<uint32_t>(result);
}

uint32_t Win32MciCalls::Generic(uint16_t deviceId, uint32_t command, uint32_t flags, uintptr_t callback) {
    MCI_GENERIC_PARMS parameters = {};
    parameters.dwCallback = callback;
    return static_cast<uint32_t>(mciSendCommandA(deviceId, command, flags, reinterpret_cast<DWORD_PTR>(&parameters)));
}

uint32_t Win32MciCalls::Play(uint16_t deviceId, uint32_t flags, uintptr_t callback, uint32_t from, uint32_t to) {
    MCI_PLAY_PARMS parameters = {};
    parameters.dwCallback = callback;
    parameters.dwFrom = from;
    parameters.dwTo = to;
    return static_cast<uint32_t>(mciSendCommandA(deviceId, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parameters)));
}

uint32_t Win32MciCalls::Status(uint16_t deviceId, uint32_t flags, uint32_t item, uint32_t& value) {
    MCI_STATUS_PARMS parameters = {};
    parameters.dwItem = item;
    const MCIERROR result = mciSendCommandA(deviceId, MCI_STATUS, flags, reinterpret_cast<DWORD_PTR>(&parameters));
    value = static_cast<uint32_t>(parameters.dwReturn);
    return static_cast<uint32_t>(result);
}

bool Win32MciCalls::ErrorText(uint32_t code, std::string& text) {
    std::vector<char> buffer(kErrorTextLength + 1, '\0');
    if (!mciGetErrorStringA(code, buffer.data(), static_cast<UINT>(kErrorTextLength))) return false;
    text = buffer.data();
    return !text.empty();
}
