#pragma once
// Whole-file reads and crash-safe whole-file replacement.
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

namespace orvella::base {

enum class ReadStatus { kOk, kMissing, kFailed };

// Reads the whole file into bytes. Files above maxBytes are refused (kFailed)
// so a hostile file cannot exhaust memory.
ReadStatus ReadWholeFile(const std::filesystem::path& path, std::string& bytes, size_t maxBytes);

// Writes bytes to a new file beside path ("NAME.save-XXXXXX", locked by its
// writer until the rename), flushes it to disk and renames it over path: a
// crash leaves the old or the new content, never a torn file. A new file gets
// exactly createMode (the umask is not consulted). createMode is also the most
// a replaced file keeps: it loses the permission bits createMode lacks and
// gets createMode's owner read and write bits, so a file that holds secrets
// (0600) is closed again by every write however it was opened up. False (and
// path untouched) on any failure.
bool ReplaceFileAtomically(const std::filesystem::path& path, const std::string& bytes, mode_t createMode);

// Removes the new files of replacements in folder whose writer ended before
// its rename (a killed process); the files of replacements under way stay.
// Returns how many were removed.
int RemoveAbandonedReplacements(const std::filesystem::path& folder);

}  // namespace orvella::base
