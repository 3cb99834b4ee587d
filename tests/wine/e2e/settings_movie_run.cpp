#include "settings_movie_run.h"

#include <cstdio>
#include <stdexcept>

#include "engine/shared_control_block.h"

using namespace testsupport;

namespace settingse2e {
namespace {

// Long enough for every check, short enough that a test that never closes the movie still ends.
constexpr char kSafetyExitMs[] = "20000";
constexpr DWORD kShowTimeoutMs = 20000;
constexpr DWORD kEngineExitTimeoutMs = 20000;

}  // namespace

std::vector<PackedFile> StandinMovieFiles(const std::string& settingsText) {
    std::vector<PackedFile> files = {FileFromBuild("standin_projector10.exe", "player.exe"),
                                     FileFromBuild("quenbyrun.dll", "quenbyrun.dll")};
    if (!settingsText.empty()) files.push_back(FileFromText("settings.ini", settingsText));
    return files;
}

SettingsRun::SettingsRun(const std::string& name, const std::string& settingsText)
    : reportDir_("rep"), reportPath_(reportDir_.File("report.txt")), app_(name, StandinMovieFiles(settingsText)) {}

void SettingsRun::Start(const std::map<std::string, std::string>& environment) {
    std::map<std::string, std::string> variables = environment;
    variables["STANDIN_REPORT"] = reportPath_;
    if (!variables.count("STANDIN_EXIT_AFTER_MS")) variables["STANDIN_EXIT_AFTER_MS"] = kSafetyExitMs;
    // The plain window tree (projector a direct child of the host), which the stand-in hook
    // library needs to see before it reports the movie ready.
    if (!variables.count("STAGEHOST_NO_WINE_PAINT_FIX")) variables["STAGEHOST_NO_WINE_PAINT_FIX"] = "1";
    engine_ = app_.Start(variables);
}

StandinReport SettingsRun::WaitUntilShown() {
    const DWORD t0 = GetTickCount();
    StandinReport report = WaitForStandinReport(
        reportPath_,
        [](const StandinReport& r) {
            const std::vector<uint8_t> block = r.Block();
            return r.Parent() != nullptr && block.size() > offsetof(SharedControlBlock, MovieReady) &&
                   block[offsetof(SharedControlBlock, MovieReady)] == 1;
        },
        kShowTimeoutMs);
    projector_ = report.Window();
    fprintf(stderr, "TIMING shown after %lu ms parent=%s mapping=%s block0x60=%d hasblock=%d root=%s\n", GetTickCount() - t0, report.Value("parent").c_str(), report.Value("mapping").c_str(), report.BlockByte(0x60), report.HasBlock(), report.Env("OrbelinLocalDir_RootDir").c_str());
    fprintf(stderr, "hooks %x %x %x %x projwin %u host %u pid %u window %s\n", report.BlockU32(0), report.BlockU32(4), report.BlockU32(8), report.BlockU32(12), report.BlockU32(0x30), report.BlockU32(0x34), report.BlockU32(0x18), report.Value("window").c_str());
    return report;
}

long SettingsRun::CloseAndWait() {
    if (!projector_) projector_ = StandinReport::Read(reportPath_).Window();
    const DWORD t0 = GetTickCount();
    if (projector_) PostMessageA(projector_, WM_CLOSE, 0, 0);
    long code = engine_->WaitForExit(kEngineExitTimeoutMs);
    fprintf(stderr, "TIMING exit after %lu ms\n", GetTickCount() - t0);
    return code;
}

HWND HostWindowOf(DWORD processId) {
    for (HWND window : TopLevelWindowsOf(processId))
        if (ClassNameOf(window) == kHostWindowClass) return window;
    return nullptr;
}

WineVersionForProgram::WineVersionForProgram(const std::string& exeName, const std::string& version)
    : keyPath_("Software\\Wine\\AppDefaults\\" + exeName) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + keyPath_);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
    RegCloseKey(key);
}

WineVersionForProgram::~WineVersionForProgram() { RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str()); }

}  // namespace settingse2e
