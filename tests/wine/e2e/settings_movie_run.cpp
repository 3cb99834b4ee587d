#include "settings_movie_run.h"

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
    : SettingsRun(name, StandinMovieFiles(settingsText)) {}

SettingsRun::SettingsRun(const std::string& name, const std::vector<PackedFile>& files)
    : reportDir_("rep"), reportPath_(reportDir_.File("report.txt")), app_(name, files) {}

void SettingsRun::Start(const std::map<std::string, std::string>& environment, const std::string& currentDir) {
    std::map<std::string, std::string> variables = environment;
    variables["STANDIN_REPORT"] = reportPath_;
    if (!variables.count("STANDIN_EXIT_AFTER_MS")) variables["STANDIN_EXIT_AFTER_MS"] = kSafetyExitMs;
    // The plain window tree (projector a direct child of the host), which the stand-in hook
    // library needs to see before it reports the movie ready.
    if (!variables.count("STAGEHOST_NO_WINE_PAINT_FIX")) variables["STAGEHOST_NO_WINE_PAINT_FIX"] = "1";
    if (currentDir.empty()) {
        engine_ = app_.Start(variables);
        return;
    }
    variables["TEMP"] = app_.TempPath();
    variables["TMP"] = app_.TempPath();
    engine_ = std::make_unique<ChildProcess>(app_.Path(), "", variables, currentDir);
}

StandinReport SettingsRun::WaitUntilShown() {
    StandinReport report = WaitForStandinReport(
        reportPath_,
        [](const StandinReport& r) {
            return r.Parent() != nullptr && r.BlockByte(offsetof(SharedControlBlock, MovieReady)) == 1;
        },
        kShowTimeoutMs);
    projector_ = report.Window();
    return report;
}

long SettingsRun::CloseAndWait() {
    if (!projector_) projector_ = StandinReport::Read(reportPath_).Window();
    if (projector_) PostMessageA(projector_, WM_CLOSE, 0, 0);
    return engine_->WaitForExit(kEngineExitTimeoutMs);
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
