// The system's handler for web pages, as the file-type associations name it: its open command and
// the DDE application and topic it answers under. Portable over ClassesRootReader.
#pragma once

#include <optional>
#include <string>

class ClassesRootReader {
public:
    virtual ~ClassesRootReader() = default;
    // The default value of a key below the classes root, read as text; false when the key cannot
    // be opened for reading, has no default value, or the value is not text.
    virtual bool ReadDefaultText(const std::string& subKey, std::string& value) = 0;
};

// Each field is set only when its registry value was found.
struct WebPageHandler {
    std::optional<std::string> OpenCommand;
    std::optional<std::string> DdeApplication;
    std::optional<std::string> DdeTopic;
};

// The class of ".html", or of ".htm" when ".html" has none; then its three values.
WebPageHandler FindWebPageHandler(ClassesRootReader& registry);
