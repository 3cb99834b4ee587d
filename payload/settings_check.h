// Warnings for an author about a settings file: what the engine will not read the way the author
// probably meant. It never refuses anything; the engine reads every file it is given.
#pragma once

#include <string>
#include <vector>

// One warning per finding, each beginning "line N: ", in line order.
std::vector<std::string> CheckAuthorSettings(const std::string& iniText);
