#pragma once
// The resume record of a file whose path HIDDEN.INI cannot hold (a character
// CP932 lacks, a line break, bytes that are not UTF-8, more than 1023 bytes):
// "LASTPROCESSFILE.txt" beside HIDDEN.INI, UTF-8 with the path's other bytes
// escaped, so any name the file system allows survives. It exists only while
// it holds such a record.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "settings/app_data.h"

namespace orvella::settings {

std::filesystem::path ResumeRecordFilePath(const std::filesystem::path& program);

// The record, or nullopt when the file is missing or holds no path (a damaged
// one included). Raises SettingsError when the file exists but cannot be read.
std::optional<LastProcessFile> ReadResumeRecordFile(const std::filesystem::path& path);
// Replaces the file in one rename; false when it cannot be written.
bool WriteResumeRecordFile(const std::filesystem::path& path, const LastProcessFile& record);

// Path bytes as one line of the file: "\\" for a backslash, "\xHH" for a
// control byte or a byte outside a UTF-8 character; everything else as it is.
std::string EscapeRecordPath(std::string_view bytes);
// The bytes back; nullopt for a stray backslash or a bad "\x" escape.
std::optional<std::string> UnescapeRecordPath(std::string_view line);

}  // namespace orvella::settings
