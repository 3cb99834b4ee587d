// In-memory stand-ins for the file system and the per-user store of the placement policy and the
// settings loader.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "payload/engine_error.h"
#include "payload/placement_file_system.h"
#include "payload/user_settings_store.h"

class FakePlacementFileSystem : public PlacementFileSystem {
public:
    std::map<std::string, std::string> Files;  // path -> content
    std::set<std::string> Locked;              // files that exist and cannot be deleted
    std::vector<std::string> TreesCreated;     // CreateDirectoryTree calls, in order
    std::vector<std::string> SingleDirsCreated;
    std::vector<std::string> Removed;
    bool FailReads = false;

    bool IsLockedFile(const std::string& path) override {
        if (Locked.count(path)) return true;
        Files.erase(path);
        return false;
    }
    bool CreateDirectoryTree(const std::string& path) override {
        TreesCreated.push_back(path);
        return true;
    }
    void CreateSingleDirectory(const std::string& path) override { SingleDirsCreated.push_back(path); }
    std::string ReadTextFile(const std::string& path) override {
        auto found = Files.find(path);
        if (FailReads || found == Files.end()) throw EngineError("Cannot open file " + path);
        return found->second;
    }
    void RemoveFile(const std::string& path) override {
        Removed.push_back(path);
        Files.erase(path);
    }
};

class FakeUserSettingsStore : public UserSettingsStore {
public:
    std::map<std::string, std::string> Values;
    std::optional<std::string> ReadString(const std::string& valueName) override {
        auto found = Values.find(valueName);
        if (found == Values.end()) return std::nullopt;
        return found->second;
    }
    void WriteString(const std::string& valueName, const std::string& value) override { Values[valueName] = value; }
};
