// The "dde:" request the host answers for the system's web-page handler: "dde:" + application +
// ":" + topic + ":" + data, where the data is an address in double quotes followed by more text,
// or text without quotes. Portable.
#pragma once

#include <string>

// Whether the text is such a request for this application and topic (compared exactly) whose data
// has the expected form. Empty names accept only texts beginning "dde:::".
bool IsAcceptedDdeRequest(const std::string& text, const std::string& application, const std::string& topic);
