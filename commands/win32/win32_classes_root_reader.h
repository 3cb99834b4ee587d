// Default values below HKEY_CLASSES_ROOT, for the web-page handler lookup.
#pragma once

#include "commands/web_page_handler.h"

class Win32ClassesRootReader : public ClassesRootReader {
public:
    bool ReadDefaultText(const std::string& subKey, std::string& value) override;
};
