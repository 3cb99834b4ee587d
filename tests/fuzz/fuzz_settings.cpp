// Fuzzes the settings path: the settings file read into the options (with per-user values taken
// from the input too) and the author's settings check, on the input as INI text. These read only
// text, so any crash, sanitizer report or exception is a fault; the documented promises of the
// results are checked as well.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "payload/options.h"
#include "payload/settings_check.h"
#include "payload/settings_file.h"
#include "payload/settings_loader.h"
#include "tests/unit/payload/placement_fakes.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "fuzz check failed: %s: \"%s\"\n", what, detail.c_str());
    std::abort();
}

void CheckWarnings(const std::string& text) {
    int lastLine = 0;
    for (const std::string& warning : CheckAuthorSettings(text)) {
        // "line N: ..." in line order.
        if (warning.compare(0, 5, "line ") != 0) Fail("warning without its line", warning);
        const size_t colon = warning.find(": ", 5);
        if (colon == std::string::npos || colon == 5) Fail("warning without its line", warning);
        int line = 0;
        for (size_t i = 5; i < colon; ++i) {
            if (warning[i] < '0' || warning[i] > '9') Fail("warning with a bad line number", warning);
            line = line * 10 + (warning[i] - '0');
            if (line > 100000000) Fail("warning with a bad line number", warning);
        }
        if (line < lastLine) Fail("warnings out of line order", warning);
        lastLine = line;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // A few per-user values first (short, most often missing), the settings text after them.
    FakeUserSettingsStore store;
    for (const char* name : {kMouseExitValue, kAnyKeyExitValue, kMuteValue, kMidiMuteValue, kDisplayRightClickValue}) {
        if (input.ConsumeBool()) store.Values[name] = input.ConsumeRandomLengthString(12);
    }
    const bool withStore = input.ConsumeBool();
    const std::string text = input.ConsumeRemainingBytesAsString();

    Options places;
    MarkUserChoosableOptions(places);
    ReadSettingsFile(SettingsFile(text), "demo", places);
    ApplyUserSettings(withStore ? &store : nullptr, places);
    if (places.RightClickMenu.Enabled != places.Interaction.Value)
        Fail("right-click menu check box not tied to mouse interaction", text);
    EffectiveMidiLoopTimes(places.MidiLoopTimes);

    CheckWarnings(text);
    return 0;
}
