// The one error type of the engine: raised by the payload reader, the settings loader and the
// directory selection, and shown by the program entry as "Exception occured: " + its text.
#pragma once

#include <stdexcept>
#include <string>

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& message) : std::runtime_error(message) {}
};
