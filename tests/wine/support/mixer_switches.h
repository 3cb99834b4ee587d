// The system's wave-output mute switches as the test sees them, found independently of the
// engine's own walk.
#pragma once

#include <cstddef>

namespace testsupport {

// Distinct mute controls (per device) of wave-output sources under speaker-like destinations.
size_t CountWaveMuteSwitches();

}  // namespace testsupport
