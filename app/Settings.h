#pragma once
// The settings file "tqs.ini": a first line, the decimal show-maps setting,
// and an optional line with the calling hours ("calling-hours 09:00-20:00").
// Other lines (a later version's settings, notes) are not read, and are
// kept as they are when the file is written.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "time/LocalTime.h"

namespace tq {

inline constexpr char kSettingsFileName[] = "tqs.ini";
// Only this many bytes are read for the first line.
inline constexpr std::size_t kMaxSettingsLine = 256;
// Only this many bytes of the file are read for the other lines; a longer
// file is not written over.
inline constexpr std::size_t kMaxSettingsFile = 4096;

// The number on the file's first line (atoi rules); 0 when the file is
// missing, unreadable, not a regular file (a FIFO, a device, a folder), its
// first line is longer than kMaxSettingsLine, or it holds no number.
int ReadShowMapsSetting(const std::filesystem::path& file);

// The calling hours of the first line after the first that begins with
// "calling-hours "; nothing when there is no such line or it does not hold
// a valid window.
std::optional<CallingHours> ReadCallingHoursSetting(const std::filesystem::path& file);

// Writes "N\n" as the first line and, when they are given, the calling
// hours' line (in the place of the old one, else second); every other line
// of the old file is written back unchanged, and the file keeps its mode
// (a new one is 0600). Written through a new temporary file in the same
// folder (made with mkstemp, so never through a planted link), synced, that
// then replaces the old file, so a crash or a full disk never leaves it
// empty or cut short. A file that is a symbolic link, read-only or longer
// than kMaxSettingsFile is the user's: it is left as it is. False (the old
// file untouched, the temporary removed, `why` told when given) when the
// setting is not saved.
[[nodiscard]] bool WriteShowMapsSetting(
    const std::filesystem::path& file, int value,
    const std::optional<CallingHours>& callingHours = std::nullopt, std::string* why = nullptr);

}  // namespace tq
