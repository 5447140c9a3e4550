#pragma once
// The settings file "tqs.ini": one line, the decimal show-maps setting.

#include <filesystem>

namespace tq {

inline constexpr char kSettingsFileName[] = "tqs.ini";

// The number on the file's first line (atoi rules); 0 when the file is
// missing, unreadable or holds no number.
int ReadShowMapsSetting(const std::filesystem::path& file);

// Writes "N\n" through a temporary file in the same folder that then replaces
// the old file, so a crash or a full disk never leaves it empty or cut short.
// False (and the old file untouched) when it cannot be written.
bool WriteShowMapsSetting(const std::filesystem::path& file, int value);

// The system-menu command that opens the about box, whatever its low bits.
inline constexpr unsigned kAboutSysCommand = 0x0010;
inline bool IsAboutSysCommand(unsigned commandId) {
  return (commandId & 0xFFF0) == kAboutSysCommand;
}

}  // namespace tq
