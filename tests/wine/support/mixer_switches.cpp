#include "support/mixer_switches.h"

#include <windows.h>
#include <mmsystem.h>

#include <set>

namespace testsupport {

size_t CountWaveMuteSwitches() {
    size_t count = 0;
    for (UINT device = 0; device < mixerGetNumDevs(); ++device) {
        HMIXER mixer = nullptr;
        if (mixerOpen(&mixer, device, 0, 0, 0) != MMSYSERR_NOERROR) continue;
        MIXERCAPSA caps = {};
        mixerGetDevCapsA(device, &caps, sizeof caps);
        std::set<DWORD> seen;
        for (DWORD d = 0; d < caps.cDestinations; ++d) {
            MIXERLINEA destination = {};
            destination.cbStruct = sizeof destination;
            destination.dwDestination = d;
            if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &destination,
                                  MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION) != MMSYSERR_NOERROR)
                continue;
            const DWORD target = destination.Target.dwType;
            if (target != MIXERLINE_TARGETTYPE_UNDEFINED && target != MIXERLINE_TARGETTYPE_WAVEOUT &&
                target != MIXERLINE_TARGETTYPE_AUX)
                continue;
            for (DWORD s = 0; s < destination.cConnections; ++s) {
                MIXERLINEA source = {};
                source.cbStruct = sizeof source;
                source.dwDestination = d;
                source.dwSource = s;
                if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &source,
                                      MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR ||
                    source.Target.dwType != MIXERLINE_TARGETTYPE_WAVEOUT)
                    continue;
                MIXERCONTROLA control = {};
                control.cbStruct = sizeof control;
                MIXERLINECONTROLSA request = {};
                request.cbStruct = sizeof request;
                request.dwLineID = source.dwLineID;
                request.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
                request.cControls = 1;
                request.cbmxctrl = sizeof control;
                request.pamxctrl = &control;
                if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &request,
                                          MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) == MMSYSERR_NOERROR)
                    count += seen.insert(control.dwControlID).second;
            }
        }
        mixerClose(mixer);
    }
    return count;
}


}  // namespace testsupport
