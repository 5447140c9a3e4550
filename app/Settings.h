#pragma once
// The settings file "tqs.ini": one line, the decimal show-maps setting, and
// an optional second line with the calling hours ("calling-hours 09:00-20:00").

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "time/LocalTime.h"

namespace tq {

inline constexpr char kSettingsFileName[] = "tqs.ini";
// Only this many bytes are read for the first line.
inline constexpr std::size_t kMaxSettingsLine = 256;

// The number on the file's first line (atoi rules); 0 when the file is
// missing, unreadable, not a regular file (a FIFO, a device, a folder), its
// first line is longer than kMaxSettingsLine, or it holds no number.
int ReadShowMapsSetting(const std::filesystem::path& file);

// The calling hours of the second line; nothing when there is no such line
// or it does not hold a valid window.
std::optional<CallingHours> ReadCallingHoursSetting(const std::filesystem::path& file);

// Writes "N\n" (and the calling hours' line when they are given) through a new temporary file in the same folder (made with
// mkstemp, so never through a planted link), synced, that then replaces the
// old file, so a crash or a full disk never leaves it empty or cut short.
// A file that is a symbolic link or read-only is the user's choice: it is
// left as it is. False (the old file untouched, the temporary removed, `why`
// told when given) when the setting is not saved.
[[nodiscard]] bool WriteShowMapsSetting(
    const std::filesystem::path& file, int value,
    const std::optional<CallingHours>& callingHours = std::nullopt, std::string* why = nullptr);

}  // namespace tq
