// TMediaPlayer: a small MCI wrapper that opens one element (the MIDI file), plays it with a
// completion notification to a window, and reports how each notified command ended. Each
// command's wait and notify choices can be set for that one command.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "commands/mci_calls.h"

class EMCIDeviceError : public std::runtime_error {
public:
    explicit EMCIDeviceError(const std::string& message) : std::runtime_error(message) {}
};

enum class TMPDeviceType {
    Automatic, AVIVideo, CDAudio, DAT, DigitalVideo, MMMovie, Other, Overlay, Scanner, Sequencer, VCR,
    Videodisc, WaveAudio
};
enum class TMPNotifyValue { Successful, Superseded, Aborted, Failure };
enum class TMPModes { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

class TMediaPlayer {
public:
    explicit TMediaPlayer(MciCalls& calls) : calls_(calls) {}
    virtual ~TMediaPlayer();  // a device still open is closed, waiting
    TMediaPlayer(const TMediaPlayer&) = delete;
    TMediaPlayer& operator=(const TMediaPlayer&) = delete;

    std::function<void(TMediaPlayer& sender)> OnNotify;
    bool Opened = false;
    bool Wait = false, Notify = false;
    bool WaitSet = false, NotifySet = false;
    bool FromSet = false, ToSet = false;
    uint16_t DeviceID = 0;
    TMPDeviceType DeviceType = TMPDeviceType::Automatic;
    uint32_t ToPosition = 0, FromPosition = 0;
    uint32_t Error = 0;
    TMPNotifyValue NotifyValue = TMPNotifyValue::Successful;
    std::string FileName;
    bool AutoRewind = true;
    bool Shareable = false;
    uintptr_t NotifyWindow = 0;

    void Open();   // throws EMCIDeviceError with the MCI error text
    void Close();
    uint32_t Play();  // throws EMCIDeviceError "Device Not Open"; MCI errors stay in Error
    void Stop();      // throws "Device Not Open"
    void Rewind();    // throws "Device Not Open"
    TMPModes GetMode();
    uint32_t GetLength();
    uint32_t GetPosition();
    void SetNotify(bool value) {
        Notify = value;
        NotifySet = true;
    }

    // MM_MCINOTIFY: records how the command ended, then DoNotify.
    void HandleNotifyMessage(uintptr_t wParam);
    virtual void DoNotify();

private:
    uint32_t CommandFlags(bool play);  // the wait/notify choice; clears WaitSet and NotifySet
    void CheckIfOpen() const;
    uint32_t StatusItem(uint32_t item);

    MciCalls& calls_;
};

// The device type's MCI name; empty for Automatic.
std::string DeviceTypeName(TMPDeviceType type);
