// Which names and directories from a payload record the reader accepts: nothing it writes may
// land outside the directory it extracts into.
#pragma once

#include <string>

// A single path step: not empty, no "\", "/" or ":", and not made of dots and spaces only (which
// Windows would read as "." or "..").
bool IsPlainFileName(const std::string& name);

// A relative path that stays inside its base: no drive, ":" stream or root, no step that Windows
// reads as "..". Empty steps and "." are harmless.
bool IsContainedRelativePath(const std::string& path);

// A record's Placement as the engine interprets it: empty, ".", a "VTOOL." label (not a path),
// or a contained sub-directory path.
bool IsSafeRecordPlacement(const std::string& placement);

// directory (with a final separator) lies inside targetDir: it begins with targetDir and the rest
// is a contained relative path.
bool IsInsideTargetDir(const std::string& directory, const std::string& targetDir);
