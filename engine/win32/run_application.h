// One complete run of the engine, and the loop of runs the program entry makes.
#pragma once

#include <string>

// Builds the main object, pumps until the quit flag is set, frees the main object.
void RunApplication(const std::string& programPath, const std::string& firstArgument);

// Runs the engine while the restart flag is set; returns the process exit code.
int RunProgram();
