#include "wine_bench_support.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <random>

#include "support/distributable.h"

namespace winbench {
namespace {

constexpr size_t kStretchBytes = 64 * 1024;

// Like a movie's mix of packed media and scripts/vector data: random stretches that do not
// compress, alternating with text-like stretches that compress well.
void AppendStretch(std::vector<uint8_t>& out, size_t count, bool compressible, std::mt19937& random) {
    static const char kWords[][8] = {"frame", "sprite", "stage", "movie", "button", "sound", "layer", "tween"};
    if (!compressible) {
        for (size_t i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(random() >> 13));
        return;
    }
    const size_t end = out.size() + count;
    while (out.size() < end) {
        const char* word = kWords[random() % 8];
        for (const char* c = word; *c && out.size() < end; ++c) out.push_back(static_cast<uint8_t>(*c));
        if (out.size() < end) out.push_back(static_cast<uint8_t>(random() % 10 < 8 ? ' ' : '0' + random() % 10));
    }
}

std::vector<uint8_t> MixedMovieBytes(size_t size) {
    std::vector<uint8_t> bytes;
    bytes.reserve(size);
    std::mt19937 random(20240601);
    bool compressible = false;
    while (bytes.size() < size) {
        AppendStretch(bytes, std::min(kStretchBytes, size - bytes.size()), compressible, random);
        compressible = !compressible;
    }
    return bytes;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool HasClass(HWND window, const char* className) { return lstrcmpiA(ClassOf(window).c_str(), className) == 0; }

struct ChildSearch {
    HWND Host;
    bool MustBeShown;
    HWND Found;
};

BOOL CALLBACK FindProjectorChild(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    // IsWindowVisible holds only when every ancestor up to the host is visible too.
    if (HasClass(window, kProjectorClass) && (!search->MustBeShown || IsWindowVisible(window)) &&
        GetAncestor(window, GA_ROOT) == search->Host) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND MovieWindowInHost(DWORD engineProcessId, bool mustBeShown) {
    for (HWND host : testsupport::TopLevelWindowsOf(engineProcessId)) {
        if (!HasClass(host, kHostClass) || (mustBeShown && !IsWindowVisible(host))) continue;
        ChildSearch search{host, mustBeShown, nullptr};
        EnumChildWindows(host, FindProjectorChild, reinterpret_cast<LPARAM>(&search));
        if (search.Found) return search.Found;
    }
    return nullptr;
}

}  // namespace

BenchDistributable PackBenchDistributable(size_t payloadBytes) {
    using namespace testsupport;
    std::vector<PackedFile> files = {FileFromBuild(kProjectorBuildName, "projector.exe"),
                                     FileFromBuild("quenbyrun.dll", "quenbyrun.dll"),
                                     FileFromText("settings.ini", "[Settings]\r\nPassword=0\r\n")};
    size_t others = 0;
    for (const PackedFile& file : files) others += file.Contents.size();
    const size_t movieBytes = payloadBytes > others + kStretchBytes ? payloadBytes - others : kStretchBytes;
    files.push_back(FileFromBytes("movie.swf", MixedMovieBytes(movieBytes)));

    BenchDistributable packed;
    packed.Bytes = BuildDistributable(EngineImage(), files);
    packed.FileCount = files.size();
    packed.PayloadBytes = others + movieBytes;
    return packed;
}

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

HWND ShownMovieWindow(DWORD engineProcessId) { return MovieWindowInHost(engineProcessId, true); }

HWND CapturedMovieWindow(DWORD engineProcessId) { return MovieWindowInHost(engineProcessId, false); }

HWND ShownProjectorWindow(DWORD processId) {
    for (HWND window : testsupport::TopLevelWindowsOf(processId))
        if (HasClass(window, kProjectorClass) && IsWindowVisible(window)) return window;
    return nullptr;
}

HWND TopLevelWindowOfClass(DWORD processId, const char* className) {
    for (HWND window : testsupport::TopLevelWindowsOf(processId))
        if (HasClass(window, className)) return window;
    return nullptr;
}

DWORD ChildProcessOf(DWORD parentId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD child = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !child; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == parentId && entry.th32ProcessID != parentId) child = entry.th32ProcessID;
    CloseHandle(snapshot);
    return child;
}

namespace {

// A file of the Wine host's /proc (reported with size 0, so read to the end).
std::string ReadHostFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

template <typename Visit>
void ForEachNumberedEntry(const std::string& dir, Visit visit) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        char* end = nullptr;
        const unsigned long number = std::strtoul(data.cFileName, &end, 10);
        if (number && end && *end == '\0' && !visit(number)) break;
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

unsigned long HostPidWithCommandLine(const std::string& part) {
    const std::string wanted = Lower(part);
    unsigned long found = 0;
    ForEachNumberedEntry("Z:\\proc\\", [&](unsigned long pid) {
        std::string commandLine = ReadHostFile("Z:\\proc\\" + std::to_string(pid) + "\\cmdline");
        for (char& c : commandLine)
            if (c == '\0') c = ' ';
        if (Lower(commandLine).find(wanted) == std::string::npos) return true;
        found = pid;
        return false;
    });
    return found;
}

}  // namespace

ProcessCpu::ProcessCpu(HANDLE process, const std::string& commandLinePart)
    : process_(process), unixPid_(HostPidWithCommandLine(commandLinePart)) {}

bool ProcessCpu::RunningUnderWine() {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

double ProcessCpu::Ms() const {
    if (unixPid_) {
        // schedstat: nanoseconds on the CPU, per thread.
        const std::string tasks = "Z:\\proc\\" + std::to_string(unixPid_) + "\\task\\";
        double ns = 0;
        ForEachNumberedEntry(tasks, [&](unsigned long tid) {
            ns += std::strtod(ReadHostFile(tasks + std::to_string(tid) + "\\schedstat").c_str(), nullptr);
            return true;
        });
        return ns / 1e6;
    }
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process_, &created, &exited, &kernel, &user)) return -1;
    auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

bool CloseAndWait(testsupport::ChildProcess& process, HWND projectorWindow, DWORD timeoutMs) {
    if (projectorWindow) PostMessageA(projectorWindow, WM_CLOSE, 0, 0);
    return process.WaitForExit(timeoutMs) != -1;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool Verdict(const std::string& what, double value, double target, const char* unit, bool strictlyBelow) {
    const bool met = strictlyBelow ? value < target : value <= target;
    std::printf("%s: %.2f%s (target %s %.2f%s) %s\n", what.c_str(), value, unit, strictlyBelow ? "<" : "<=", target,
                unit, met ? "PASS" : "MISS");
    std::fflush(stdout);
    return met;
}

}  // namespace winbench
