#pragma once
// The scan for the next job: the oldest complete file over all input folders.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/exclusive_open.h"

namespace orvella::jobs {

struct ScanSkip {
  std::string path;
  std::string reason;  // "in use", "not a regular file", "symbolic link", "unreadable"
};

struct ScanResult {
  bool found = false;
  std::string path;
  int folderIndex = -1;
  std::uint64_t fileTime = 0;
  std::vector<ScanSkip> skipped;
};

class FolderScanner {
 public:
  using Probe = std::function<ProbeResult(const std::filesystem::path&)>;
  using Log = std::function<void(std::string_view)>;

  // log hears once per folder which completeness test it uses.
  explicit FolderScanner(Log log = {}, Probe probe = ProbeExclusive);

  // Oldest last-write time first; on equal times the earlier folder, then the
  // lower name. Sub-folders and anything but a regular file are skipped and
  // symbolic links never followed; missing folders contribute nothing. A file
  // that is open elsewhere is skipped; where no lease can be had, a file is
  // taken once its size and time are unchanged since this folder's previous
  // scan.
  ScanResult Scan(const std::vector<std::string>& folders);

 private:
  void ScanFolder(const std::string& folder, int index, ScanResult& result, std::string& bestName);
  void NoteMethod(const std::string& folder, bool lease);

  Log log_;
  Probe probe_;
  std::map<std::string, std::map<std::string, FileStamp>> previous_;  // fallback folders only
  std::map<std::string, bool> methodNoted_;                           // folder -> uses leases
};

}  // namespace orvella::jobs
