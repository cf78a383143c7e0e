#pragma once
// Files whose job ended but whose name could not be removed (a sticky folder,
// a read-only share): each is passed over until it changes or goes, so it is
// never printed twice and never stops the system. Kept in a small file of the
// program folder, so a restart remembers them too.
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "jobs/exclusive_open.h"

namespace orvella::jobs {

class UndeletableFiles {
 public:
  // The list of program's INI folder; an unreadable or damaged list reads as
  // what it holds up to the damage.
  explicit UndeletableFiles(const std::filesystem::path& program);

  // Adds the file; false with the cause when the list could not be saved
  // (the file is still passed over until the next start).
  bool Add(const std::string& path, const FileStamp& stamp, std::string& detail);
  // Whether path, looking like stamp, is on the list. A path on the list
  // with another stamp has changed: it leaves the list.
  bool Holds(const std::string& path, const FileStamp& stamp);
  // Forgets the files of folder that its scan did not see.
  void KeepOnly(const std::string& folder, const std::set<std::string>& seenPaths);

  std::size_t Size() const;

 private:
  struct Entry {
    std::string path;
    FileStamp stamp;
  };
  bool SaveLocked();

  std::filesystem::path file_;
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
};

}  // namespace orvella::jobs
