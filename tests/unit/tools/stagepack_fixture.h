// A test directory with an author's inputs, and stagepack run in it as an author runs it.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace stagepack_test {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode;
    std::string out;
    std::string err;
};

class StagepackTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "stagepack-test-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        dir_ = mkdtemp(buffer.data());
        // An engine image with no payload, and the author's inputs.
        WriteFile("engine.exe", Random(40000, 1));
        WriteFile("movie.swf", Text(300000));
        WriteFile("player.exe", Random(150000, 2));
        WriteFile("quenbyrun.dll", Random(100, 3));
        WriteFile("settings.ini", "[Settings]\r\nFullScreen=1\r\n");
        fs::create_directories(Path("tools"));
        WriteFile("tools/vedit.exe", Random(5000, 4));
        WriteFile("intro.swf", Text(109));
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }

    void WriteFile(const std::string& name, const std::string& contents) const {
        std::ofstream(Path(name), std::ios::binary) << contents;
    }
    std::string ReadFile(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::string Random(size_t size, unsigned seed) {
        std::string s(size, '\0');
        unsigned x = seed * 2654435761u + 1;
        for (char& c : s) {
            x = x * 1103515245u + 12345u;
            c = static_cast<char>(x >> 16);
        }
        return s;
    }
    static std::string Text(size_t size) {
        std::string s;
        while (s.size() < size) s += "frame " + std::to_string(s.size() % 977) + ";\n";
        s.resize(size);
        return s;
    }

    // Runs stagepack with arguments (already quoted as needed) in the test directory.
    RunResult Run(const std::string& args) const {
        std::string command = "cd '" + dir_ + "' && '" STAGEPACK_PATH "' " + args + " >'" + dir_ + "/.out' 2>'" +
                              dir_ + "/.err'";
        int status = std::system(command.c_str());
        RunResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_ + "/.out"),
                         ReadFile(dir_ + "/.err")};
        fs::remove(dir_ + "/.out");
        fs::remove(dir_ + "/.err");
        return result;
    }

    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir_))
            if (e.is_regular_file()) names.push_back(fs::relative(e.path(), dir_).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    }

    const std::string kBuild =
        "build -e engine.exe -o demo.exe movie.swf player.exe quenbyrun.dll settings.ini "
        "tools/vedit.exe=VTOOL.EDIT 'intro.swf=movies\\intro'";

    std::string dir_;
};

}  // namespace stagepack_test
