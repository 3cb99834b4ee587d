// The message of a start that has no host window: the run cannot go on without one. Portable.
#pragma once

#include <string>

// "Can't create the host window", then ": " and the trimmed system text when there is one.
std::string HostWindowFailureText(const std::string& systemText);
