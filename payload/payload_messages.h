// Texts of the errors the payload reader and its file systems raise, each spelled once here.
#pragma once

#include <string>

namespace payload_messages {

inline const char kSessionNameTooLong[] = "Session name too long";
inline const char kStreamReadError[] = "Stream read error";
// What the decompression layer reports for corrupt compressed data.
inline const char kDecompressionError[] = "error";

inline std::string SessionNotFound(const std::string& sourcePath) {
    return "Session not found on extract from " + sourcePath;
}
inline std::string FilePrefixFormatError(const std::string& sourcePath) {
    return "File prefix format error on extract from " + sourcePath;
}
inline std::string ExtractError(const std::string& outputPath) { return "Extract error on " + outputPath; }
inline std::string CannotOpenFile(const std::string& path) { return "Cannot open file " + path; }
inline std::string CannotCreateFile(const std::string& path) { return "Cannot create file " + path; }

// A record whose name or placement would write outside the target directory.
inline std::string UnsafeFileName(const std::string& name, const std::string& sourcePath) {
    return "Unsafe file name \"" + name + "\" on extract from " + sourcePath;
}
inline std::string UnsafePlacement(const std::string& placement, const std::string& name,
                                   const std::string& sourcePath) {
    return "Unsafe placement \"" + placement + "\" of file \"" + name + "\" on extract from " + sourcePath;
}
inline std::string UnsafeTarget(const std::string& target, const std::string& name, const std::string& sourcePath) {
    return "Unsafe target \"" + target + "\" for file \"" + name + "\" on extract from " + sourcePath;
}

}  // namespace payload_messages
