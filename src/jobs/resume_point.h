#pragma once
// The resume record: how far the job of one unchanged source file got, so an
// interrupted file continues after the last unit that reached the printer.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "base/failure.h"

namespace orvella::jobs {

struct ResumePoint {
  bool found = false;
  int qty = 0;   // copies output completely
  int page = 0;  // pages output within the current copy, or the page count
};

// fileTime is the source's current last-write time, nullopt when the file
// cannot be opened; the forms without it open the file to read it.

// The record applies only when its path equals sourcePath byte for byte and
// its time is the file's current last-write time. A record that does not
// apply to an openable file is emptied; a file that cannot be opened leaves
// it as it is.
ResumePoint ReadResumePoint(const std::filesystem::path& program, const std::string& sourcePath,
                            std::optional<std::uint64_t> fileTime);
ResumePoint ReadResumePoint(const std::filesystem::path& program, const std::string& sourcePath);

// Records the progress with the file's last-write time; nothing is written
// when the file cannot be opened. False with the cause on failure.
bool SaveResumePoint(const std::filesystem::path& program, const std::string& sourcePath,
                     std::optional<std::uint64_t> fileTime, int qty, int page, base::Failure& failure);
bool SaveResumePoint(const std::filesystem::path& program, const std::string& sourcePath, int qty, int page,
                     base::Failure& failure);

// Writes an empty record. False with the cause on failure.
bool ClearResumePoint(const std::filesystem::path& program, base::Failure& failure);
// Empties the record only when it is sourcePath's: the progress of another
// file that stopped mid-job is kept.
bool ClearResumePointOf(const std::filesystem::path& program, const std::string& sourcePath,
                        base::Failure& failure);

}  // namespace orvella::jobs
