#include "support/standin_report.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace testsupport {
namespace {

constexpr uint32_t kMovieReadyOffset = 0x060;

HWND HandleFromDecimal(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text.c_str(), nullptr, 10)));
}

}  // namespace

std::string StandinReport::Value(const std::string& key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? std::string() : found->second;
}

bool StandinReport::HasEnv(const std::string& name) const { return values_.count("env:" + name) != 0; }

std::string StandinReport::Env(const std::string& name) const { return Value("env:" + name); }

std::vector<std::string> StandinReport::Files() const {
    std::vector<std::string> files;
    for (auto it = values_.lower_bound("file:"); it != values_.end() && it->first.compare(0, 5, "file:") == 0; ++it)
        files.push_back(it->first.substr(5));
    return files;
}

HWND StandinReport::Window() const { return HandleFromDecimal(Value("window")); }

HWND StandinReport::Parent() const { return HandleFromDecimal(Value("parent")); }

bool StandinReport::HasBlock() const { return Value("block").size() == 2 * 1356; }

std::vector<uint8_t> StandinReport::Block() const {
    std::vector<uint8_t> bytes;
    if (!HasBlock()) return bytes;
    for (uint32_t offset = 0; offset < 1356; ++offset) bytes.push_back(BlockByte(offset));
    return bytes;
}

StandinReport StandinReport::Read(const std::string& path) { return ReadStandinReport(path); }

uint8_t StandinReport::BlockByte(uint32_t offset) const {
    const std::string block = Value("block");
    if (block.size() < 2 * (offset + 1)) return 0;
    return static_cast<uint8_t>(std::strtoul(block.substr(2 * offset, 2).c_str(), nullptr, 16));
}

uint32_t StandinReport::BlockU32(uint32_t offset) const {
    uint32_t value = 0;
    for (uint32_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(BlockByte(offset + i)) << (8 * i);
    return value;
}

std::string StandinReport::BlockShortString(uint32_t offset) const {
    std::string text;
    const uint8_t length = BlockByte(offset);
    for (uint32_t i = 1; i <= length; ++i) text.push_back(static_cast<char>(BlockByte(offset + i)));
    return text;
}

StandinReport ReadStandinReport(const std::string& path) {
    std::map<std::string, std::string> values;
    if (!FileExists(path)) return StandinReport();
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        // An environment line's name may itself start with "=" ("=C:=C:\...").
        const size_t equals = line.find('=', line.compare(0, 4, "env:") == 0 ? 5 : 0);
        if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 2;
    }
    return StandinReport(std::move(values));
}

bool CapturedAndShown(const StandinReport& report) {
    const HWND window = report.Window();
    return window && report.Parent() && IsWindow(window) && IsWindowVisible(window);
}

std::vector<PackedFile> MovieFiles(const std::string& settingsLines, const std::string& builtProjector,
                                   const std::string& builtHookLibrary) {
    return {FileFromBuild(builtProjector, kStoredProjectorName), FileFromBuild(builtHookLibrary, "quenbyrun.dll"),
            FileFromText("settings.ini", "[Settings]\r\nPassword=0\r\n" + settingsLines)};
}

MovieRun StartMovie(const Distributable& app, const std::string& reportPath,
                    std::map<std::string, std::string> environment, DWORD timeoutMs) {
    MovieRun run;
    run.ScheduledDeletions.Directory = app.TempPath();
    run.Recycled.Directory = app.TempPath();
    environment["STANDIN_REPORT"] = reportPath;
    run.Engine = app.Start(environment);
    run.Host = WaitForWindowOfClass(run.Engine->Id(), kHostWindowClass, timeoutMs);
    EXPECT_NE(run.Host, nullptr) << "no host window";
    run.Report = WaitForStandinReport(
        reportPath,
        [](const StandinReport& report) {
            return CapturedAndShown(report) && report.BlockByte(kMovieReadyOffset) == 1;
        },
        timeoutMs);
    EXPECT_TRUE(CapturedAndShown(run.Report)) << "the projector was not shown inside the host";
    EXPECT_EQ(run.Report.BlockByte(kMovieReadyOffset), 1) << "the movie-ready message did not arrive";
    return run;
}

bool IsInsideWindow(HWND window, HWND ancestor) {
    const HWND desktop = GetDesktopWindow();
    for (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != desktop;
         parent = GetAncestor(parent, GA_PARENT)) {
        if (parent == ancestor) return true;
    }
    return false;
}

RECT RectIn(HWND window, HWND reference) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace testsupport
