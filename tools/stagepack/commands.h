// The subcommands of stagepack. Each takes its arguments after the subcommand's name and returns
// the process exit code; failures throw ToolError (or EngineError from the payload code).
#pragma once

#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int RunBuild(const Arguments& args);
int RunList(const Arguments& args);
int RunVerify(const Arguments& args);
int RunExtract(const Arguments& args);
int RunRehost(const Arguments& args);
int RunCheckSettings(const Arguments& args);

// Warnings about a settings file's text, each prefixed for printing; empty when the settings
// checker is not part of this build.
std::vector<std::string> SettingsWarnings(const std::string& iniText);
bool SettingsCheckAvailable();
