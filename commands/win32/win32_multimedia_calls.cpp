#include "commands/win32/win32_multimedia_calls.h"

#include <windows.h>
#include <mmsystem.h>

#include <memory>

static_assert(sizeof(MIXERCONTROLA) == 148, "one control record is 148 bytes in every build");
static_assert(sizeof(WAVEOUTCAPSA) == 52, "the wave capability record is 52 bytes");
static_assert(mm::kControlTypeMute == MIXERCONTROL_CONTROLTYPE_MUTE, "mute control type");
static_assert(mm::kWaveCapsVolume == WAVECAPS_VOLUME, "volume capability");
static_assert(mm::kTargetTypeWaveOut == MIXERLINE_TARGETTYPE_WAVEOUT && mm::kTargetTypeAux == MIXERLINE_TARGETTYPE_AUX &&
                  mm::kTargetTypeUndefined == MIXERLINE_TARGETTYPE_UNDEFINED,
              "line target types");

namespace {

HMIXEROBJ MixerObject(MixerHandle mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

void CopyLine(const MIXERLINEA& from, MixerLine& to) {
    to.TargetType = from.Target.dwType;
    to.Connections = from.cConnections;
    to.Controls = from.cControls;
    to.LineId = from.dwLineID;
}

// The one-channel boolean record of one switch, for a read or a write.
MIXERCONTROLDETAILS SwitchDetails(uint32_t controlId, MIXERCONTROLDETAILS_BOOLEAN& value) {
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof value;
    details.paDetails = &value;
    return details;
}

constexpr DWORD kByHandle = MIXER_OBJECTF_HMIXER;

}  // namespace

bool Win32MultimediaCalls::WaveMapperSupport(uint32_t& support) {
    WAVEOUTCAPSA caps = {};
    if (waveOutGetDevCapsA(WAVE_MAPPER, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
    support = caps.dwSupport;
    return true;
}

bool Win32MultimediaCalls::GetWaveMapperVolume(uint32_t& volume) {
    DWORD value = 0;
    if (waveOutGetVolume(reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER)), &value) != MMSYSERR_NOERROR)
        return false;
    volume = value;
    return true;
}

bool Win32MultimediaCalls::SetWaveMapperVolume(uint32_t volume) {
    return waveOutSetVolume(reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER)), volume) ==
           MMSYSERR_NOERROR;
}

uint32_t Win32MultimediaCalls::MixerDeviceCount() { return mixerGetNumDevs(); }

bool Win32MultimediaCalls::MixerDestinationCount(uint32_t device, uint32_t& destinations) {
    MIXERCAPSA caps = {};
    if (mixerGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
    destinations = caps.cDestinations;
    return true;
}

bool Win32MultimediaCalls::OpenMixer(uint32_t device, MixerHandle& mixer) {
    HMIXER handle = nullptr;
    if (mixerOpen(&handle, device, 0, 0, 0) != MMSYSERR_NOERROR || !handle) return false;
    mixer = reinterpret_cast<MixerHandle>(handle);
    return true;
}

void Win32MultimediaCalls::CloseMixer(MixerHandle mixer) { mixerClose(reinterpret_cast<HMIXER>(mixer)); }

bool Win32MultimediaCalls::DestinationLine(MixerHandle mixer, uint32_t destination, MixerLine& line) {
    MIXERLINEA info = {};
    info.cbStruct = sizeof info;
    info.dwDestination = destination;
    if (mixerGetLineInfoA(MixerObject(mixer), &info, kByHandle | MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR)
        return false;
    CopyLine(info, line);
    return true;
}

bool Win32MultimediaCalls::SourceLine(MixerHandle mixer, uint32_t destination, uint32_t source, MixerLine& line) {
    MIXERLINEA info = {};
    info.cbStruct = sizeof info;
    info.dwDestination = destination;
    info.dwSource = source;
    if (mixerGetLineInfoA(MixerObject(mixer), &info, kByHandle | MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR)
        return false;
    CopyLine(info, line);
    return true;
}

bool Win32MultimediaCalls::LineControls(MixerHandle mixer, const MixerLine& line, std::vector<MixerControl>& controls) {
    controls.clear();
    if (line.Controls == 0) return true;
    // One buffer for the line's controls, released as soon as they are read.
    std::unique_ptr<MIXERCONTROLA[]> records(new MIXERCONTROLA[line.Controls]());
    MIXERLINECONTROLSA request = {};
    request.cbStruct = sizeof request;
    request.dwLineID = line.LineId;
    request.cControls = line.Controls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = records.get();
    if (mixerGetLineControlsA(MixerObject(mixer), &request, kByHandle | MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR)
        return false;
    for (DWORD i = 0; i < line.Controls; ++i) controls.push_back({records[i].dwControlID, records[i].dwControlType});
    return true;
}

bool Win32MultimediaCalls::ReadSwitch(MixerHandle mixer, uint32_t controlId, uint32_t& value) {
    MIXERCONTROLDETAILS_BOOLEAN record = {static_cast<LONG>(value)};
    MIXERCONTROLDETAILS details = SwitchDetails(controlId, record);
    const bool read = mixerGetControlDetailsA(MixerObject(mixer), &details,
                                              kByHandle | MIXER_GETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
    if (read) value = static_cast<uint32_t>(record.fValue);
    return read;
}

bool Win32MultimediaCalls::WriteSwitch(MixerHandle mixer, uint32_t controlId, uint32_t value) {
    MIXERCONTROLDETAILS_BOOLEAN record = {static_cast<LONG>(value)};
    MIXERCONTROLDETAILS details = SwitchDetails(controlId, record);
    return mixerSetControlDetails(MixerObject(mixer), &details, kByHandle | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}
