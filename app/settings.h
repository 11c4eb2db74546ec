// Per-user settings: string values in the registry of the current user,
// under one key, HKEY_CURRENT_USER\Software\Valdrix\BrontivaSetup\Settings.
// The key is opened (and created when missing, so a read alone creates it)
// and closed again around every single call; no handle stays open.
//
// User-interface thread only. Failures are silent: a failed read yields the
// default, a failed write returns false and callers carry on.
#pragma once

#include <string>

inline constexpr const char* kSettingsKeyPrefix = "Software\\Valdrix\\BrontivaSetup\\";
inline constexpr const char* kSettingsSection = "Settings";

inline constexpr const char* kWindowPlacementSetting = "WindowPlacement";
inline constexpr const char* kLanguageSetting = "Language";

// The value's data up to its first zero byte, whatever its registry type;
// `fallback` when the key or the value cannot be read.
std::string readSetting(const std::string& name, const std::string& fallback);
// Stores `value` as REG_SZ with its terminating zero byte.
bool writeSetting(const std::string& name, const std::string& value);
