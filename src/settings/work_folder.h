#pragma once
// Work files of one job in a folder of its own under the program folder's
// TEMP, so that several jobs and processes can share one program folder.
#include <filesystem>
#include <optional>
#include <string>

namespace orvella::settings {

// The operator's message when a job gets no work folder (TEMP missing, full
// or not writable); the detail says which and why.
inline constexpr const char* kWorkFolderError = "作業フォルダの作成エラー";

// What a piece of work is handed instead of global folders.
struct WorkContext {
  std::filesystem::path program;  // the program folder: INI/, Halftone/, LOG/, ERROR/
  std::filesystem::path work;     // this job's own folder for its work files
  std::filesystem::path data;     // the shipped read-only files (Halftone/) where the program folder has none
};

// "TEMP/job-XXXXXX", private to its owner and removed with everything in it
// when the value goes. The owner holds a lock on a file inside it for as long
// as it lives, which tells a live job's folder from a dead process's leftovers.
class WorkFolder {
 public:
  // Makes a new folder under TEMP (TEMP itself is created when missing).
  // nullopt with a plain-English reason in detail when that fails.
  static std::optional<WorkFolder> Create(const std::filesystem::path& program, std::string& detail);

  WorkFolder(WorkFolder&& other) noexcept;
  WorkFolder& operator=(WorkFolder&&) = delete;
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  ~WorkFolder();

  const std::filesystem::path& Path() const { return path_; }
  // data: the shipped read-only files (ProcessFolders::data); empty when the
  // work reads none.
  WorkContext Context(const std::filesystem::path& data = {}) const { return {program_, path_, data}; }
  // True when the folder's file system has less than a megabyte left: work
  // that failed then is taken to have failed for want of room.
  bool OutOfRoom() const;

 private:
  WorkFolder(std::filesystem::path program, std::filesystem::path path, int lockFd);

  std::filesystem::path program_;
  std::filesystem::path path_;
  int lockFd_ = -1;
};

// Removes the work folders under TEMP whose owner has ended (crashed or
// killed). Folders of live jobs, in this process or another, stay. Returns how
// many were removed.
int RemoveStaleWorkFolders(const std::filesystem::path& program);

}  // namespace orvella::settings
