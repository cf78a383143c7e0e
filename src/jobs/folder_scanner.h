#pragma once
// The scan for the next job: the oldest complete file over all input folders.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/exclusive_open.h"

namespace orvella::jobs {

class UndeletableFiles;

struct ScanSkip {
  // "in use", "changing" (within the quiet period), "not a regular file",
  // "symbolic link", "several links", "unreadable", "undeletable"
  std::string path;
  std::string reason;
};

// Whether a skip lasts until someone acts (a link, a FIFO, a sub-folder…),
// as opposed to a file that is still being written.
bool PassedOver(const ScanSkip& skip);

struct ScanResult {
  bool found = false;
  std::string path;
  int folderIndex = -1;
  std::uint64_t fileTime = 0;
  FileStamp stamp;  // the file as the scan found it
  std::vector<ScanSkip> skipped;
  // The passed-over entries that the previous scan did not pass over for the
  // same reason: what to tell the operator once.
  std::vector<ScanSkip> newlyPassedOver;
};

class FolderScanner {
 public:
  using Probe = std::function<ProbeResult(int folderFd, const std::string& name)>;
  using Log = std::function<void(std::string_view)>;
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // log hears once per folder which completeness test it uses.
  explicit FolderScanner(Log log = {}, Probe probe = ProbeExclusive,
                         Clock clock = std::chrono::steady_clock::now);

  // How long (seconds) a file's size and time must stay as they are before
  // it is taken; 0 takes a file at once where a lease shows it is closed,
  // and after two unchanged scans elsewhere.
  void SetQuietSeconds(int seconds) { quietSeconds_ = seconds < 0 ? 0 : seconds; }
  // Files to pass over; none when null. Not owned.
  void SetUndeletable(UndeletableFiles* files) { undeletable_ = files; }

  // Oldest last-write time first; on equal times the earlier folder, then the
  // lower name. Sub-folders, anything but a regular file with one link, and
  // symbolic links (also as a folder itself) are passed over; missing
  // folders contribute nothing. A file open elsewhere, or changed within the
  // quiet period, is skipped until it settles.
  ScanResult Scan(const std::vector<std::string>& folders);

 private:
  struct Sighting {
    FileStamp stamp;
    std::chrono::steady_clock::time_point since;  // first seen looking like this
  };
  using Sightings = std::map<std::string, Sighting>;

  void ScanFolder(const std::string& folder, int index, ScanResult& result, std::string& bestName);
  // Whether a closed file has settled; records the sighting in seen.
  bool Settled(const Sightings* before, Sightings& seen, const std::string& name, const FileStamp& stamp,
               bool leased, std::chrono::steady_clock::time_point now) const;
  void NoteMethod(const std::string& folder, bool lease);

  Log log_;
  Probe probe_;
  Clock clock_;
  int quietSeconds_ = 0;
  UndeletableFiles* undeletable_ = nullptr;
  std::map<std::string, Sightings> sightings_;     // per folder
  std::map<std::string, bool> methodNoted_;        // folder -> uses leases
  std::map<std::string, std::string> passedOver_;  // path -> reason, as of the last scan
};

}  // namespace orvella::jobs
