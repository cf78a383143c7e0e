#pragma once
// The error folders read back (error_record.h writes them): for each, the
// last job log line of its "error.csv", the last detail line and the kept
// copy of the source.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella::logging {

struct ErrorFolder {
  std::string id;       // the folder's name under ERROR
  std::string written;  // "YYYY/MM/DD HH:MM:SS" from the folder's name
  std::string folder;   // the source's folder
  std::string fileName;
  std::string message;
  std::string detail;          // the cause in plain English, empty when none was kept
  std::filesystem::path kept;  // the copy of the source, empty when there is none
};

// The error folders, newest first, at most limit of them.
std::vector<ErrorFolder> ListErrorFolders(const std::filesystem::path& program, std::size_t limit);
// The error folder named id exactly: a name from a request is only ever
// looked up among the folders, never joined to a path as given.
std::optional<ErrorFolder> FindErrorFolder(const std::filesystem::path& program, std::string_view id);

}  // namespace orvella::logging
