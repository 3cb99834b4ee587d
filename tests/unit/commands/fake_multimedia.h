// Fake mixers and wave mapper: tables of devices, lines and controls, with switch states that
// reads and writes act on, and a record of every open, close, read and write.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "commands/multimedia_calls.h"

struct FakeSource {
    uint32_t TargetType = mm::kTargetTypeWaveOut;
    std::vector<MixerControl> Controls;
    bool ControlsFail = false;
};

struct FakeDestination {
    uint32_t TargetType = mm::kTargetTypeWaveOut;
    std::vector<FakeSource> Sources;
};

struct FakeMixerDevice {
    std::vector<FakeDestination> Destinations;
    bool Opens = true;
};

class FakeMultimedia : public MultimediaCalls {
public:
    // Wave mapper.
    bool CapsWork = true;
    uint32_t Support = mm::kWaveCapsVolume;
    bool VolumeReadable = true;
    uint32_t Volume = 0x80008000;
    std::vector<uint32_t> VolumesWritten;

    // Mixers.
    std::vector<FakeMixerDevice> Devices;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> Switches;  // (device, control id) -> value
    std::vector<std::string> Log;  // "open 0", "read 0:3", "write 0:3=1", "close 0"
    int OpenDevices = 0;

    bool WaveMapperSupport(uint32_t& support) override {
        if (!CapsWork) return false;
        support = Support;
        return true;
    }
    bool GetWaveMapperVolume(uint32_t& volume) override {
        if (!VolumeReadable) return false;
        volume = Volume;
        return true;
    }
    bool SetWaveMapperVolume(uint32_t volume) override {
        VolumesWritten.push_back(volume);
        Volume = volume;
        return true;
    }

    uint32_t MixerDeviceCount() override { return static_cast<uint32_t>(Devices.size()); }
    bool MixerDestinationCount(uint32_t device, uint32_t& destinations) override {
        destinations = static_cast<uint32_t>(Devices.at(device).Destinations.size());
        return true;
    }
    bool OpenMixer(uint32_t device, MixerHandle& mixer) override {
        if (!Devices.at(device).Opens) return false;
        Log.push_back("open " + std::to_string(device));
        ++OpenDevices;
        mixer = device + 100;
        return true;
    }
    void CloseMixer(MixerHandle mixer) override {
        Log.push_back("close " + std::to_string(mixer - 100));
        --OpenDevices;
    }
    bool DestinationLine(MixerHandle mixer, uint32_t destination, MixerLine& line) override {
        const FakeDestination& d = Device(mixer).Destinations.at(destination);
        line.TargetType = d.TargetType;
        line.Connections = static_cast<uint32_t>(d.Sources.size());
        return true;
    }
    bool SourceLine(MixerHandle mixer, uint32_t destination, uint32_t source, MixerLine& line) override {
        const FakeSource& s = Device(mixer).Destinations.at(destination).Sources.at(source);
        line.TargetType = s.TargetType;
        line.Controls = static_cast<uint32_t>(s.Controls.size());
        line.LineId = destination * 1000 + source;  // the fake finds the source again from it
        return true;
    }
    bool LineControls(MixerHandle mixer, const MixerLine& line, std::vector<MixerControl>& controls) override {
        const FakeSource& s = Device(mixer).Destinations.at(line.LineId / 1000).Sources.at(line.LineId % 1000);
        if (s.ControlsFail) return false;
        controls = s.Controls;
        return true;
    }
    bool ReadSwitch(MixerHandle mixer, uint32_t controlId, uint32_t& value) override {
        Log.push_back("read " + Name(mixer, controlId));
        value = Switches[{static_cast<uint32_t>(mixer - 100), controlId}];
        return true;
    }
    bool WriteSwitch(MixerHandle mixer, uint32_t controlId, uint32_t value) override {
        Log.push_back("write " + Name(mixer, controlId) + "=" + std::to_string(value));
        Switches[{static_cast<uint32_t>(mixer - 100), controlId}] = value;
        return true;
    }

    size_t Count(const std::string& prefix) const {
        size_t n = 0;
        for (const std::string& entry : Log) n += entry.compare(0, prefix.size(), prefix) == 0;
        return n;
    }

private:
    const FakeMixerDevice& Device(MixerHandle mixer) const { return Devices.at(mixer - 100); }
    static std::string Name(MixerHandle mixer, uint32_t id) {
        return std::to_string(mixer - 100) + ":" + std::to_string(id);
    }
};

inline MixerControl Mute(uint32_t id) { return {id, mm::kControlTypeMute}; }
inline MixerControl VolumeControl(uint32_t id) { return {id, mm::kControlTypeVolume}; }
