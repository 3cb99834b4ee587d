// Splitting a Windows command line into arguments, as the engine reads its own.
#pragma once

#include <string>
#include <vector>

// Arguments are separated by blanks or control characters; a double quote toggles quoting and is
// dropped. The first element is the program as it was started.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// True when the first argument after the program, upper-cased, is "/C": Setup dialog only.
bool IsConfigurationModeArgument(const std::string& firstArgument);

// File name part of a path ("C:\\dir\\demo.exe" -> "demo.exe").
std::string FileNamePart(const std::string& path);
// Directory part of a path without the final backslash ("C:\\dir\\demo.exe" -> "C:\\dir"); a
// drive root keeps it ("C:\\demo.exe" -> "C:\\").
std::string DirectoryPart(const std::string& path);
