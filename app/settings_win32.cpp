#include "app/settings.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

// Largest value read back; longer data counts as unreadable.
constexpr DWORD kSettingBufferBytes = 65000;

std::string settingsKeyPath() {
    return std::string(kSettingsKeyPrefix) + kSettingsSection;
}

bool openSettingsKey(REGSAM access, HKEY& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, settingsKeyPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           access, nullptr, &key, nullptr) == ERROR_SUCCESS;
}

}  // namespace

std::string readSetting(const std::string& name, const std::string& fallback) {
    HKEY key;
    if (!openSettingsKey(KEY_READ, key)) return fallback;
    std::vector<char> buffer(kSettingBufferBytes);
    DWORD size = kSettingBufferBytes;
    const LONG status =
        RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return fallback;
    // The type is not checked: any data reads as text up to its first zero.
    const char* begin = buffer.data();
    return std::string(begin, std::find(begin, begin + std::min(size, kSettingBufferBytes), '\0'));
}

bool writeSetting(const std::string& name, const std::string& value) {
    HKEY key;
    if (!openSettingsKey(KEY_WRITE, key)) return false;
    const LONG status = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
