// The few multimedia-library calls that sound muting makes, behind a small interface: the engine
// uses the system's (commands/win32/win32_multimedia_calls.h), tests use tables of fake mixers.
// Portable: no <windows.h>; the constants mirror the system's values.
#pragma once

#include <cstdint>
#include <vector>

namespace mm {

constexpr uint32_t kWaveCapsVolume = 4;           // WAVECAPS_VOLUME
constexpr uint32_t kTargetTypeUndefined = 0;      // MIXERLINE_TARGETTYPE_UNDEFINED
constexpr uint32_t kTargetTypeWaveOut = 1;        // MIXERLINE_TARGETTYPE_WAVEOUT
constexpr uint32_t kTargetTypeWaveIn = 2;         // MIXERLINE_TARGETTYPE_WAVEIN
constexpr uint32_t kTargetTypeMidiOut = 3;        // MIXERLINE_TARGETTYPE_MIDIOUT
constexpr uint32_t kTargetTypeAux = 5;            // MIXERLINE_TARGETTYPE_AUX
constexpr uint32_t kControlTypeMute = 0x20010002; // MIXERCONTROL_CONTROLTYPE_MUTE
constexpr uint32_t kControlTypeVolume = 0x50030001;  // MIXERCONTROL_CONTROLTYPE_VOLUME

}  // namespace mm

struct MixerLine {
    uint32_t TargetType = 0;
    uint32_t Connections = 0;  // sources of a destination
    uint32_t Controls = 0;
    uint32_t LineId = 0;
};

struct MixerControl {
    uint32_t Id = 0;
    uint32_t Type = 0;
};

using MixerHandle = uintptr_t;

class MultimediaCalls {
public:
    virtual ~MultimediaCalls() = default;

    // The wave-output mapper.
    virtual bool WaveMapperSupport(uint32_t& support) = 0;  // the capability flags
    virtual bool GetWaveMapperVolume(uint32_t& volume) = 0;
    virtual bool SetWaveMapperVolume(uint32_t volume) = 0;

    // The mixers.
    virtual uint32_t MixerDeviceCount() = 0;
    virtual bool MixerDestinationCount(uint32_t device, uint32_t& destinations) = 0;
    virtual bool OpenMixer(uint32_t device, MixerHandle& mixer) = 0;
    virtual void CloseMixer(MixerHandle mixer) = 0;
    virtual bool DestinationLine(MixerHandle mixer, uint32_t destination, MixerLine& line) = 0;
    virtual bool SourceLine(MixerHandle mixer, uint32_t destination, uint32_t source, MixerLine& line) = 0;
    // Every control of the line at once.
    virtual bool LineControls(MixerHandle mixer, const MixerLine& line, std::vector<MixerControl>& controls) = 0;
    // One boolean for all channels together. The value passed in is what a read that reports
    // nothing leaves.
    virtual bool ReadSwitch(MixerHandle mixer, uint32_t controlId, uint32_t& value) = 0;
    virtual bool WriteSwitch(MixerHandle mixer, uint32_t controlId, uint32_t value) = 0;
};
