// stagepack build: engine image + one appended payload session.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>

#include "payload/extract_path_rules.h"
#include "payload/password_hash.h"
#include "payload/payload_file_system.h"
#include "payload/payload_format.h"
#include "payload/payload_writer.h"
#include "payload/settings_password.h"
#include "tools/stagepack/cli_support.h"
#include "tools/stagepack/commands.h"
#include "tools/stagepack/engine_copy.h"
#include "tools/stagepack/password_input.h"

namespace {

struct InputFile {
    std::string Path;  // as given
    RecordInfo Record;
    bool Rewritten = false;  // a settings file packed with the password hash: Text is packed
    std::string Text;
};

enum class PasswordSource { None, Prompt, File };

struct BuildRequest {
    std::string EnginePath;
    std::string OutputPath;
    std::string SessionName = "Session1";
    std::vector<InputFile> Files;
    PasswordSource Password = PasswordSource::None;
    std::string PasswordFile;
};

class StdioFile {
public:
    StdioFile(const std::string& path, const char* mode) : file_(std::fopen(NativePath(path).c_str(), mode)) {}
    ~StdioFile() {
        if (file_) std::fclose(file_);
    }
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;
    std::FILE* get() const { return file_; }

private:
    std::FILE* file_;
};

class FileContents : public ContentReader {
public:
    explicit FileContents(const std::string& path) : path_(path), file_(path, "rb") {
        if (!file_.get()) throw ToolError("cannot read " + path);
    }
    size_t Read(void* buffer, size_t count) override {
        size_t got = std::fread(buffer, 1, count, file_.get());
        if (got < count && std::ferror(file_.get())) throw ToolError("cannot read " + path_);
        return got;
    }

private:
    std::string path_;
    StdioFile file_;
};

// Size and last-write time of a regular file.
void StatInput(const std::string& path, uint64_t& size, uint64_t& fileTime) {
#ifdef _WIN32
    struct _stat64 info;
    if (_stat64(path.c_str(), &info) != 0) throw ToolError("cannot read " + path + ": no such file");
    if ((info.st_mode & _S_IFMT) != _S_IFREG) throw ToolError(path + " is not a regular file");
    fileTime = FileTimeFromUnix(info.st_mtime, 0);
#else
    struct stat info;
    if (stat(NativePath(path).c_str(), &info) != 0) throw ToolError("cannot read " + path + ": no such file");
    if (!S_ISREG(info.st_mode)) throw ToolError(path + " is not a regular file");
    fileTime = FileTimeFromUnix(info.st_mtim.tv_sec, static_cast<uint32_t>(info.st_mtim.tv_nsec));
#endif
    size = static_cast<uint64_t>(info.st_size);
}

// The directory the file was taken from, Windows style with a final "\"; empty when it does not
// fit its field (the engine never needs it: it always extracts into its own directory).
std::string SourceDirOf(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), error);
    std::string dir = error ? std::string() : absolute.parent_path().string();
    for (char& c : dir)
        if (c == '/') c = '\\';
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    return dir.size() <= 255 ? dir : std::string();
}

InputFile DescribeInput(const std::string& argument) {
    InputFile input;
    size_t equals = argument.find('=');
    input.Path = argument.substr(0, equals);
    if (equals != std::string::npos) input.Record.Placement = argument.substr(equals + 1);
    if (input.Path.empty()) throw UsageError("missing file name in '" + argument + "'");

    input.Record.FileName = std::filesystem::path(NativePath(input.Path)).filename().string();
    if (!IsPlainFileName(input.Record.FileName) || input.Record.FileName.size() > 255)
        throw ToolError("cannot store a file named '" + input.Record.FileName + "' (from " + input.Path + ")");
    if (input.Record.Placement.size() > 255)
        throw ToolError("placement of " + input.Path + " is longer than 255 characters");
    if (!IsSafeRecordPlacement(input.Record.Placement))
        throw ToolError("placement '" + input.Record.Placement + "' of " + input.Path +
                        " leaves the working directory (use a relative path without '..', ':' or a drive)");

    uint64_t size, fileTime;
    StatInput(input.Path, size, fileTime);
    if (size > std::numeric_limits<uint32_t>::max()) throw ToolError(input.Path + " is larger than 4 GiB - 1 bytes");
    input.Record.OriginalSize = static_cast<uint32_t>(size);
    input.Record.LastWriteTime = fileTime;
    input.Record.SourceDir = SourceDirOf(input.Path);
    return input;
}

BuildRequest ParseBuild(const Arguments& args) {
    BuildRequest request;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "-e" || arg == "-o" || arg == "-s")) {
            if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
            const std::string& value = args[++i];
            (arg == "-e" ? request.EnginePath : arg == "-o" ? request.OutputPath : request.SessionName) = value;
        } else if (!optionsEnded && arg == "--password-prompt") {
            request.Password = PasswordSource::Prompt;
        } else if (!optionsEnded && arg == "--password-file") {
            if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
            request.Password = PasswordSource::File;
            request.PasswordFile = args[++i];
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg);
        } else {
            request.Files.push_back(DescribeInput(arg));
        }
    }
    if (request.EnginePath.empty()) throw UsageError("build needs the engine executable (-e ENGINE)");
    if (request.OutputPath.empty()) throw UsageError("build needs an output file (-o OUTPUT)");
    if (request.Files.empty()) throw UsageError("build needs at least one file to pack");
    if (request.SessionName.empty() || request.SessionName.size() > kSessionNameCapacity)
        throw ToolError("session name must have 1 to 63 characters");
    return request;
}

bool IsSettingsFile(const InputFile& input) {
    std::string name = input.Record.FileName;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".ini") == 0;
}

std::string ReadWholeFile(const std::string& path) {
    std::FILE* f = std::fopen(NativePath(path).c_str(), "rb");
    if (!f) throw ToolError("cannot read " + path);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return text;
}

class TextContents : public ContentReader {
public:
    explicit TextContents(const std::string& text) : text_(text) {}
    size_t Read(void* buffer, size_t count) override {
        const size_t n = std::min(count, text_.size() - position_);
        std::memcpy(buffer, text_.data() + position_, n);
        position_ += n;
        return n;
    }

private:
    const std::string& text_;
    size_t position_ = 0;
};

// Only the hash goes into the packed settings files; the password is forgotten at once and the
// files on disk stay as they are.
void ApplyPassword(BuildRequest& request) {
    if (request.Password == PasswordSource::None) return;
    bool anySettings = false;
    for (const InputFile& input : request.Files) anySettings = anySettings || IsSettingsFile(input);
    if (!anySettings) throw ToolError("a password needs a settings file (.ini) among the files");
    std::string password =
        request.Password == PasswordSource::Prompt ? PromptPasswordTwice() : ReadPasswordFile(request.PasswordFile);
    const int32_t hash = PasswordHash(password);
    ForgetPassword(password);
    for (InputFile& input : request.Files) {
        if (!IsSettingsFile(input)) continue;
        input.Text = WithPasswordHash(ReadWholeFile(input.Path), hash);
        input.Rewritten = true;
        input.Record.OriginalSize = static_cast<uint32_t>(input.Text.size());
        std::printf("%s: packed with Password=1 and the password's hash\n", input.Path.c_str());
    }
}

void PrintSettingsWarnings(const InputFile& input) {
    if (!IsSettingsFile(input)) return;
    std::string text;
    try {
        text = input.Rewritten ? input.Text : ReadWholeFile(input.Path);
    } catch (const ToolError&) {
        return;
    }
    for (const std::string& warning : SettingsWarnings(text))
        std::fprintf(stderr, "stagepack: warning: %s: %s\n", input.Path.c_str(), warning.c_str());
}

}  // namespace

int RunBuild(const Arguments& args) {
    BuildRequest request = ParseBuild(args);
    ApplyPassword(request);
    uint64_t total = 0;
    for (const InputFile& input : request.Files) {
        total += input.Record.OriginalSize;
        PrintSettingsWarnings(input);
    }

    std::string output = NativePath(request.OutputPath);
    AtomicOutputFile target(output);
    {
        FileSink sink(target.TempPath());
        CopyEngine(request.EnginePath, sink);
        SessionWriter writer(sink);
        TerminalProgress progress("packing", total);
        writer.OnContentBytes = [&](uint64_t bytes) { progress.Advance(bytes); };
        for (const InputFile& input : request.Files) {
            if (input.Rewritten) {
                TextContents contents(input.Text);
                writer.AddFile(input.Record, contents);
            } else {
                FileContents contents(input.Path);
                writer.AddFile(input.Record, contents);
            }
        }
        writer.Finish(request.SessionName);
        sink.Close();
    }
    target.Commit();
    std::printf("%s: session %s with %zu file(s), %llu bytes\n", request.OutputPath.c_str(),
                request.SessionName.c_str(), request.Files.size(), static_cast<unsigned long long>(total));
    return 0;
}
