#include "winmm_call_log.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace standin {
namespace {

char g_logPath[MAX_PATH] = {};

void LogLine(const std::string& line) {
    HANDLE file = CreateFileA(g_logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Hex(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return text;
}

std::string HandleText(const void* handle) { return Hex(reinterpret_cast<uintptr_t>(handle)); }

// The program's original entries, called by the recording replacements.
decltype(&mixerGetNumDevs) g_mixerGetNumDevs;
decltype(&mixerOpen) g_mixerOpen;
decltype(&mixerClose) g_mixerClose;
decltype(&mixerGetControlDetailsA) g_mixerGetControlDetailsA;
decltype(&mixerSetControlDetails) g_mixerSetControlDetails;
decltype(&waveOutGetVolume) g_waveOutGetVolume;
decltype(&waveOutSetVolume) g_waveOutSetVolume;
decltype(&mciSendCommandA) g_mciSendCommandA;

UINT WINAPI LogMixerGetNumDevs() {
    const UINT count = g_mixerGetNumDevs();
    LogLine("mixerGetNumDevs -> " + std::to_string(count));
    return count;
}

MMRESULT WINAPI LogMixerOpen(LPHMIXER mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    const MMRESULT result = g_mixerOpen(mixer, device, callback, instance, flags);
    LogLine("mixerOpen " + std::to_string(device) + " -> " + Hex(result) + " " +
            HandleText(result == MMSYSERR_NOERROR && mixer ? *mixer : nullptr));
    return result;
}

MMRESULT WINAPI LogMixerClose(HMIXER mixer) {
    const MMRESULT result = g_mixerClose(mixer);
    LogLine("mixerClose " + HandleText(mixer) + " -> " + Hex(result));
    return result;
}

LONG FirstBoolean(const MIXERCONTROLDETAILS* details) {
    if (!details || !details->paDetails || details->cbDetails < sizeof(LONG)) return -1;
    return *static_cast<const LONG*>(details->paDetails);
}

MMRESULT WINAPI LogMixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    const MMRESULT result = g_mixerGetControlDetailsA(mixer, details, flags);
    LogLine("mixerGetControlDetailsA " + HandleText(mixer) + " " + std::to_string(details ? details->dwControlID : 0) +
            " -> " + Hex(result) + " " + std::to_string(FirstBoolean(details)));
    return result;
}

MMRESULT WINAPI LogMixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    const MMRESULT result = g_mixerSetControlDetails(mixer, details, flags);
    LogLine("mixerSetControlDetails " + HandleText(mixer) + " " + std::to_string(details ? details->dwControlID : 0) +
            "=" + std::to_string(FirstBoolean(details)) + " -> " + Hex(result));
    return result;
}

MMRESULT WINAPI LogWaveOutGetVolume(HWAVEOUT device, LPDWORD volume) {
    const MMRESULT result = g_waveOutGetVolume(device, volume);
    LogLine("waveOutGetVolume -> " + Hex(result) + " " + Hex(result == MMSYSERR_NOERROR && volume ? *volume : 0));
    return result;
}

MMRESULT WINAPI LogWaveOutSetVolume(HWAVEOUT device, DWORD volume) {
    const MMRESULT result = g_waveOutSetVolume(device, volume);
    LogLine("waveOutSetVolume " + Hex(volume) + " -> " + Hex(result));
    return result;
}

MCIERROR WINAPI LogMciSendCommandA(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parameters) {
    const MCIERROR result = g_mciSendCommandA(device, command, flags, parameters);
    std::string line = "mciSendCommandA " + Hex(command) + " " + Hex(flags) + " -> " + Hex(result);
    if (command == MCI_OPEN && parameters && (flags & MCI_OPEN_ELEMENT)) {
        const char* element = reinterpret_cast<MCI_OPEN_PARMSA*>(parameters)->lpstrElementName;
        const char* name = element ? std::strrchr(element, '\\') : nullptr;
        line += std::string(" ") + (name ? name + 1 : element ? element : "");
    }
    if (command == MCI_STATUS && parameters)
        line += " " + std::to_string(reinterpret_cast<MCI_STATUS_PARMS*>(parameters)->dwReturn);
    LogLine(line);
    return result;
}

struct Patch {
    const char* Name;
    void* Replacement;
    void** Original;
    void** Slot;  // the program's import entry, once patched
};

Patch g_patches[] = {
    {"mixerGetNumDevs", reinterpret_cast<void*>(&LogMixerGetNumDevs), reinterpret_cast<void**>(&g_mixerGetNumDevs), nullptr},
    {"mixerOpen", reinterpret_cast<void*>(&LogMixerOpen), reinterpret_cast<void**>(&g_mixerOpen), nullptr},
    {"mixerClose", reinterpret_cast<void*>(&LogMixerClose), reinterpret_cast<void**>(&g_mixerClose), nullptr},
    {"mixerGetControlDetailsA", reinterpret_cast<void*>(&LogMixerGetControlDetailsA),
     reinterpret_cast<void**>(&g_mixerGetControlDetailsA), nullptr},
    {"mixerSetControlDetails", reinterpret_cast<void*>(&LogMixerSetControlDetails),
     reinterpret_cast<void**>(&g_mixerSetControlDetails), nullptr},
    {"waveOutGetVolume", reinterpret_cast<void*>(&LogWaveOutGetVolume), reinterpret_cast<void**>(&g_waveOutGetVolume), nullptr},
    {"waveOutSetVolume", reinterpret_cast<void*>(&LogWaveOutSetVolume), reinterpret_cast<void**>(&g_waveOutSetVolume), nullptr},
    {"mciSendCommandA", reinterpret_cast<void*>(&LogMciSendCommandA), reinterpret_cast<void**>(&g_mciSendCommandA), nullptr},
};

void WriteSlot(void** slot, void* value) {
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

// The program's import entries from the multimedia library, by name.
template <typename Visit>
void ForEachWinmmImport(Visit visit) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), "winmm.dll") != 0) continue;
        if (!library->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            visit(reinterpret_cast<const char*>(byName->Name), reinterpret_cast<void**>(&slots->u1.Function));
        }
    }
}

}  // namespace

void StartWinmmCallLog() {
    const DWORD length = GetEnvironmentVariableA("STANDIN_WINMM_LOG", g_logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    bool callsMixer = false;
    ForEachWinmmImport([&](const char* name, void**) { callsMixer |= std::strcmp(name, "mixerOpen") == 0; });
    if (!callsMixer) return;
    ForEachWinmmImport([](const char* name, void** slot) {
        for (Patch& patch : g_patches) {
            if (std::strcmp(name, patch.Name) != 0 || patch.Slot) continue;
            *patch.Original = *slot;
            patch.Slot = slot;
            WriteSlot(slot, patch.Replacement);
        }
    });
}

void StopWinmmCallLog() {
    for (Patch& patch : g_patches) {
        if (!patch.Slot) continue;
        WriteSlot(patch.Slot, *patch.Original);
        patch.Slot = nullptr;
    }
}

}  // namespace standin
