// Writes the seed distributables of the payload reader fuzzer: small payloads made by the real
// writer, covering raw and compressed records, placements, tool files and stacked sessions.
// Usage: make_payload_seeds <directory>. The seeds are committed; rerun only to change them.
#include <cstdio>
#include <string>
#include <vector>

#include "payload/payload_writer.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Repeated(const std::string& text, size_t size) {
    std::vector<uint8_t> bytes;
    while (bytes.size() < size) bytes.push_back(static_cast<uint8_t>(text[bytes.size() % text.size()]));
    return bytes;
}

PackedFile File(const std::string& name, const std::string& placement, std::vector<uint8_t> contents) {
    PackedFile file;
    file.FileName = name;
    file.SourceDir = "C:\\src\\";
    file.Placement = placement;
    file.Contents = std::move(contents);
    file.LastWriteTime = 132000000000000000ull;
    return file;
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_payload_seeds <directory>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const std::vector<uint8_t> engine = Bytes("MZ stand-in engine image");
    const std::string ini = "[Settings]\r\nFullScreen=1\r\nWidth=0x280\r\n[RightMenuDeleteItems]\r\nCount=1\r\n0=3\r\n";

    struct Seed {
        const char* Name;
        std::vector<uint8_t> Bytes;
    };
    std::vector<Seed> seeds;
    seeds.push_back({"empty-session", BuildDistributable(engine, {})});
    seeds.push_back({"engine-files",
                     BuildDistributable(engine, {File("Settings.INI", "", Bytes(ini)), File("Player.exe", "", Bytes("MZ")),
                                                 File("quenbyrun.dll", "", Bytes("MZ dll")),
                                                 File("Movie.SWF", "", Repeated("FWS movie ", 300))})});
    seeds.push_back({"placements",
                     BuildDistributable(engine, {File("intro.swf", "movies\\intro", Bytes("FWS")),
                                                 File("readme.txt", ".", Repeated("text ", 150)),
                                                 File("song.mid", "", Bytes("MThd"))})});
    seeds.push_back({"tools", BuildDistributable(engine, {File("editor.vtools.ini", "", Bytes("[Tool]\r\n")),
                                                          File("editor.exe", "VTOOL. editor", Bytes("MZ tool"))})});
    std::vector<uint8_t> stacked = BuildDistributable(engine, {File("old.swf", "", Bytes("old"))}, "Session0");
    AppendSession(stacked, {File("new.swf", "", Bytes("new")), File("a.ini", "", Bytes("[Settings]\n"))}, "Session1");
    seeds.push_back({"stacked-sessions", stacked});

    for (const Seed& seed : seeds) {
        if (seed.Bytes.size() >= 4096) std::fprintf(stderr, "warning: seed %s is %zu bytes\n", seed.Name, seed.Bytes.size());
        if (!Write(dir + seed.Name, seed.Bytes)) {
            std::fprintf(stderr, "cannot write %s%s\n", dir.c_str(), seed.Name);
            return 1;
        }
    }
    return 0;
}
