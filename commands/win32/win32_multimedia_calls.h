// The system's multimedia library behind MultimediaCalls: the wave-output mapper and the mixers.
#pragma once

#include "commands/multimedia_calls.h"

class Win32MultimediaCalls : public MultimediaCalls {
public:
    bool WaveMapperSupport(uint32_t& support) override;
    bool GetWaveMapperVolume(uint32_t& volume) override;
    bool SetWaveMapperVolume(uint32_t volume) override;

    uint32_t MixerDeviceCount() override;
    bool MixerDestinationCount(uint32_t device, uint32_t& destinations) override;
    bool OpenMixer(uint32_t device, MixerHandle& mixer) override;
    void CloseMixer(MixerHandle mixer) override;
    bool DestinationLine(MixerHandle mixer, uint32_t destination, MixerLine& line) override;
    bool SourceLine(MixerHandle mixer, uint32_t destination, uint32_t source, MixerLine& line) override;
    bool LineControls(MixerHandle mixer, const MixerLine& line, std::vector<MixerControl>& controls) override;
    bool ReadSwitch(MixerHandle mixer, uint32_t controlId, uint32_t& value) override;
    bool WriteSwitch(MixerHandle mixer, uint32_t controlId, uint32_t value) override;
};
