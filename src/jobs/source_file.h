#pragma once
// The file a job started with, held open for the whole job. Every step reads
// this very file through ReaderPath(), whatever happens to its name in the
// meantime, and its name is removed only while it still names this file
// unchanged: a file replaced, rewritten or deleted during its job is never
// mixed with another, printed from the new content, or lost.
#include <optional>
#include <string>

#include "base/unique_fd.h"
#include "jobs/exclusive_open.h"

namespace orvella::jobs {

// What became of the source's name since the job opened it.
enum class SourceState {
  kSame,      // it still names the file, unchanged
  kReplaced,  // it names another file now, or the file was rewritten in place
  kGone       // nothing has the name any more
};

enum class RemoveOutcome { kRemoved, kNotThisFile, kFailed };

class SourceFile {
 public:
  // Opens sourcePath (folder, '/', name) without following a link in either
  // part, as a regular file with one link that still looks as the scan found
  // it (expected). nullopt when it does not: the next scan looks again.
  static std::optional<SourceFile> Open(const std::string& sourcePath, const FileStamp& expected);

  // A path that opens this very file (its descriptor through /proc), for
  // readers that take a path.
  const std::string& ReaderPath() const { return readerPath_; }
  // text with ReaderPath() put back as the source path, for failure details.
  std::string Explain(std::string text) const;
  const FileStamp& Stamp() const { return stamp_; }

  SourceState Check() const;
  // Removes the name when Check() is kSame: kNotThisFile (with state set)
  // when it is not, kFailed with errno's words in detail when the folder
  // refuses.
  RemoveOutcome Remove(SourceState& state, std::string& detail) const;

 private:
  SourceFile(base::UniqueFd folder, base::UniqueFd file, std::string sourcePath, std::string name,
             const FileStamp& stamp);

  base::UniqueFd folder_;
  base::UniqueFd file_;
  std::string sourcePath_;
  std::string name_;
  FileStamp stamp_;
  std::string readerPath_;
};

}  // namespace orvella::jobs
