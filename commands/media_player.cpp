#include "commands/media_player.h"

namespace {

const char kDeviceNotOpen[] = "Device Not Open";
const char kUnknownMciError[] = "Unknown MCI Error";

}  // namespace

std::string DeviceTypeName(TMPDeviceType type) {
    static const char* const names[] = {"",      "AVIVideo", "CDAudio", "DAT",       "DigitalVideo",
                                        "MMMovie", "Other",  "Overlay", "Scanner",   "Sequencer",
                                        "VCR",   "Videodisc", "WaveAudio"};
    return names[static_cast<int>(type)];
}

TMediaPlayer::~TMediaPlayer() {
    if (Opened && DeviceID != 0) calls_.Generic(DeviceID, mci::kClose, mci::kWait, 0);
}

uint32_t TMediaPlayer::CommandFlags(bool play) {
    uint32_t flags = 0;
    const bool waits = play ? (WaitSet && Wait) : !(WaitSet && !Wait);
    const bool notifies = play ? !(NotifySet && !Notify) : (NotifySet && Notify);
    if (waits) flags |= mci::kWait;
    if (notifies) flags |= mci::kNotify;
    WaitSet = false;
    NotifySet = false;
    return flags;
}

void TMediaPlayer::CheckIfOpen() const {
    if (!Opened) throw EMCIDeviceError(kDeviceNotOpen);
}

void TMediaPlayer::Open() {
    if (Opened) Close();
    uint32_t flags = CommandFlags(false);
    if (!FileName.empty()) flags |= mci::kOpenElement;
    if (DeviceType != TMPDeviceType::Automatic) flags |= mci::kOpenType;
    if (Shareable) flags |= mci::kOpenShareable;
    uint16_t device = 0;
    Error = calls_.Open(flags, NotifyWindow, DeviceTypeName(DeviceType), FileName, device);
    if (Error != 0) {
        std::string text;
        if (!calls_.ErrorText(Error, text) || text.empty()) text = kUnknownMciError;
        throw EMCIDeviceError(text);
    }
    Opened = true;
    DeviceID = device;
}

void TMediaPlayer::Close() {
    if (DeviceID == 0) return;
    Error = calls_.Generic(DeviceID, mci::kClose, CommandFlags(false), NotifyWindow);
    if (Error == 0) {
        Opened = false;
        DeviceID = 0;
    }
}

uint32_t TMediaPlayer::Play() {
    CheckIfOpen();
    // A play after the end starts again from the beginning.
    if (AutoRewind && !FromSet && !ToSet && GetPosition() == GetLength()) Rewind();
    uint32_t flags = CommandFlags(true);
    if (FromSet) flags |= mci::kFrom;
    if (ToSet) flags |= mci::kTo;
    FromSet = false;
    ToSet = false;
    Error = calls_.Play(DeviceID, flags, NotifyWindow, FromPosition, ToPosition);
    return Error;
}

void TMediaPlayer::Stop() {
    CheckIfOpen();
    Error = calls_.Generic(DeviceID, mci::kStop, CommandFlags(false), NotifyWindow);
}

void TMediaPlayer::Rewind() {
    CheckIfOpen();
    Error = calls_.Generic(DeviceID, mci::kSeek, mci::kWait | mci::kSeekToStart, NotifyWindow);
}

uint32_t TMediaPlayer::StatusItem(uint32_t item) {
    CheckIfOpen();
    uint32_t value = 0;
    Error = calls_.Status(DeviceID, mci::kWait | mci::kStatusItem, item, value);
    return value;
}

TMPModes TMediaPlayer::GetMode() {
    if (!Opened) return TMPModes::NotReady;
    const uint32_t mode = StatusItem(mci::kStatusMode);
    if (mode < mci::kModeNotReady || mode > mci::kModeNotReady + 6) return TMPModes::NotReady;
    return static_cast<TMPModes>(mode - mci::kModeNotReady);
}

uint32_t TMediaPlayer::GetLength() { return StatusItem(mci::kStatusLength); }

uint32_t TMediaPlayer::GetPosition() { return StatusItem(mci::kStatusPosition); }

void TMediaPlayer::HandleNotifyMessage(uintptr_t wParam) {
    switch (wParam) {
        case mci::kNotifySuccessful: NotifyValue = TMPNotifyValue::Successful; break;
        case mci::kNotifySuperseded: NotifyValue = TMPNotifyValue::Superseded; break;
        case mci::kNotifyAborted: NotifyValue = TMPNotifyValue::Aborted; break;
        case mci::kNotifyFailure: NotifyValue = TMPNotifyValue::Failure; break;
        default: break;
    }
    DoNotify();
}

void TMediaPlayer::DoNotify() {
    if (OnNotify) OnNotify(*this);
}
