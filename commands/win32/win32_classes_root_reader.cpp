#include "commands/win32/win32_classes_root_reader.h"

#include <windows.h>

#include <cstring>
#include <vector>

bool Win32ClassesRootReader::ReadDefaultText(const std::string& subKey, std::string& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    bool found = RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
                 (type == REG_SZ || type == REG_EXPAND_SZ);
    if (found) {
        std::vector<char> data(size + 1, '\0');
        DWORD dataSize = size;
        found = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &dataSize) ==
                    ERROR_SUCCESS &&
                (type == REG_SZ || type == REG_EXPAND_SZ);
        if (found) value.assign(data.data(), strnlen(data.data(), dataSize));
    }
    RegCloseKey(key);
    return found;
}
