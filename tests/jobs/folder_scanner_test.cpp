#include "jobs/folder_scanner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "jobs/undeletable_files.h"
#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::jobs {
namespace {

void MakeFile(const std::filesystem::path& path, time_t mtime) {
  test::WriteFileBytes(path, "data");
  const timespec times[2] = {{mtime, 0}, {mtime, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Another process that has the file open for writing until it is ended.
class Writer {
 public:
  explicit Writer(const std::filesystem::path& path) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      // Held open only: a write would make the file the newest.
      if (::open(path.c_str(), O_WRONLY | O_APPEND) < 0) ::_exit(1);
      (void)::write(ready[1], "r", 1);
      ::pause();
      ::_exit(0);
    }
    char c;
    EXPECT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
  }
  ~Writer() { Close(); }
  void Close() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

struct Folders {
  test::TempDir a, b;
  std::vector<std::string> List() const { return {a.Path().string(), b.Path().string()}; }
};

TEST(FolderScanner, TakesTheOldestOverAllFoldersWithTiesToTheEarlierFolderThenTheName) {
  Folders f;
  MakeFile(f.b / "old.tif", 1000);
  MakeFile(f.a / "new.tif", 2000);
  FolderScanner scanner;
  ScanResult r = scanner.Scan(f.List());
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.path, (f.b / "old.tif").string());
  EXPECT_EQ(r.folderIndex, 1);
  EXPECT_EQ(r.fileTime, (1000ULL + 11644473600ULL) * 10000000ULL);

  // Equal times: the earlier folder, then within it the lower name.
  MakeFile(f.b / "old.tif", 500);
  MakeFile(f.a / "z.tif", 500);
  MakeFile(f.a / "m.tif", 500);
  for (int i = 0; i < 3; ++i) {
    r = scanner.Scan(f.List());
    EXPECT_EQ(r.path, (f.a / "m.tif").string());
    EXPECT_EQ(r.folderIndex, 0);
  }
}

TEST(FolderScanner, EmptyAndMissingFoldersContributeNothing) {
  Folders f;
  FolderScanner scanner;
  const ScanResult r = scanner.Scan({f.a.Path().string(), (f.b / "missing").string()});
  EXPECT_FALSE(r.found);
  EXPECT_TRUE(r.skipped.empty());
  EXPECT_FALSE(scanner.Scan({}).found);
}

TEST(FolderScanner, SkipsSubFoldersLinksAndSpecialFilesWithTheirReasons) {
  Folders f;
  MakeFile(f.b / "target.tif", 100);
  std::filesystem::create_directory(f.a / "sub");
  MakeFile(f.a / "sub" / "inner.tif", 50);
  std::filesystem::create_symlink(f.b / "target.tif", f.a / "link.tif");
  ASSERT_EQ(::mkfifo((f.a / "fifo").c_str(), 0600), 0);
  MakeFile(f.a / "real.tif", 200);

  const ScanResult r = FolderScanner().Scan({f.a.Path().string()});
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.path, (f.a / "real.tif").string());
  std::map<std::string, std::string> reasons;
  for (const ScanSkip& s : r.skipped) reasons[std::filesystem::path(s.path).filename()] = s.reason;
  EXPECT_EQ(reasons, (std::map<std::string, std::string>{{"sub", "not a regular file"},
                                                         {"link.tif", "symbolic link"},
                                                         {"fifo", "not a regular file"}}));
}

TEST(FolderScanner, AFileOpenInAnotherProcessIsSkippedUntilItIsClosed) {
  Folders f;
  MakeFile(f.a / "busy.tif", 100);
  MakeFile(f.a / "later.tif", 900);
  Writer writer(f.a / "busy.tif");
  FolderScanner scanner;
  ScanResult r = scanner.Scan(f.List());
  EXPECT_EQ(r.path, (f.a / "later.tif").string());
  ASSERT_EQ(r.skipped.size(), 1U);
  EXPECT_EQ(r.skipped[0].reason, "in use");
  writer.Close();
  r = scanner.Scan(f.List());
  EXPECT_EQ(r.path, (f.a / "busy.tif").string());
  EXPECT_TRUE(r.skipped.empty());
}

// Where no lease can be had, a file is taken once it is unchanged between
// two scans of its folder.
TEST(FolderScanner, WithoutLeasesAFileIsTakenWhenItStaysUnchanged) {
  Folders f;
  std::vector<std::string> notes;
  FolderScanner scanner([&](std::string_view note) { notes.emplace_back(note); },
                        [](int folderFd, const std::string& name) {
                          ProbeResult r = ProbeExclusive(folderFd, name);
                          if (r.outcome == ProbeOutcome::kTaken) r.outcome = ProbeOutcome::kLeaseRefused;
                          return r;
                        });
  MakeFile(f.a / "growing.tif", 100);
  ScanResult r = scanner.Scan(f.List());
  EXPECT_FALSE(r.found);
  ASSERT_EQ(r.skipped.size(), 1U);
  EXPECT_EQ(r.skipped[0].reason, "in use");

  test::WriteFileBytes(f.a / "growing.tif", "more data");  // still being written
  EXPECT_FALSE(scanner.Scan(f.List()).found);
  r = scanner.Scan(f.List());
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.path, (f.a / "growing.tif").string());
  ASSERT_EQ(notes.size(), 1U);  // the method is reported once per folder
  EXPECT_NE(notes[0].find("no lease"), std::string::npos);
}

// A file is taken only once its size and time have stayed as they are for the
// quiet period: a writer that appends chunk by chunk, closing in between, is
// waited for.
TEST(FolderScanner, AFileIsTakenOnlyAfterItsQuietPeriod) {
  Folders f;
  auto now = std::chrono::steady_clock::time_point{};
  FolderScanner scanner({}, ProbeExclusive, [&] { return now; });
  scanner.SetQuietSeconds(3);
  MakeFile(f.a / "chunked.tif", 100);
  const auto at = [&](int seconds) {
    now = std::chrono::steady_clock::time_point{} + std::chrono::seconds(seconds);
    return scanner.Scan(f.List());
  };
  ScanResult r = at(0);
  EXPECT_FALSE(r.found);
  ASSERT_EQ(r.skipped.size(), 1U);
  EXPECT_EQ(r.skipped[0].reason, "changing");
  EXPECT_TRUE(r.newlyPassedOver.empty());  // nothing to tell: it is on its way
  EXPECT_FALSE(at(2).found);
  test::WriteFileBytes(f.a / "chunked.tif", "data and the next chunk");  // closed again in between
  EXPECT_FALSE(at(4).found);
  EXPECT_FALSE(at(6).found);
  r = at(7);
  ASSERT_TRUE(r.found);
  EXPECT_EQ(r.stamp.size, 23);
}

TEST(FolderScanner, LinkedFilesAndALinkedFolderArePassedOverAndToldOnce) {
  Folders f;
  MakeFile(f.b / "outside.tif", 100);
  ASSERT_EQ(::link((f.b / "outside.tif").c_str(), (f.a / "second-name.tif").c_str()), 0);
  const std::filesystem::path linkedFolder = f.b / "hot-link";
  std::filesystem::create_directory_symlink(f.a.Path(), linkedFolder);
  FolderScanner scanner;
  const std::vector<std::string> folders{f.a.Path().string(), linkedFolder.string()};

  ScanResult r = scanner.Scan(folders);
  EXPECT_FALSE(r.found);
  std::map<std::string, std::string> told;
  for (const ScanSkip& s : r.newlyPassedOver) told[s.path] = s.reason;
  EXPECT_EQ(told, (std::map<std::string, std::string>{{(f.a / "second-name.tif").string(), "several links"},
                                                      {linkedFolder.string(), "symbolic link"}}));
  EXPECT_TRUE(scanner.Scan(folders).newlyPassedOver.empty());

  // Gone and back: told again.
  std::filesystem::remove(f.a / "second-name.tif");
  EXPECT_TRUE(scanner.Scan(folders).newlyPassedOver.empty());
  ASSERT_EQ(::link((f.b / "outside.tif").c_str(), (f.a / "second-name.tif").c_str()), 0);
  EXPECT_EQ(scanner.Scan(folders).newlyPassedOver.size(), 1U);
}

TEST(FolderScanner, AnUndeletableFileIsPassedOverUntilItChangesOrGoes) {
  Folders f;
  test::TempDir program;
  settings::CreateApplicationFolders(program.Path());
  MakeFile(f.a / "stuck.tif", 100);
  FolderScanner scanner;
  ScanResult r = scanner.Scan(f.List());
  ASSERT_TRUE(r.found);
  {
    UndeletableFiles list(program.Path());
    std::string detail;
    ASSERT_TRUE(list.Add(r.path, r.stamp, detail)) << detail;
  }
  UndeletableFiles list(program.Path());  // as a restart reads it
  scanner.SetUndeletable(&list);
  r = scanner.Scan(f.List());
  EXPECT_FALSE(r.found);
  ASSERT_EQ(r.newlyPassedOver.size(), 1U);
  EXPECT_EQ(r.newlyPassedOver[0].reason, "undeletable");

  MakeFile(f.a / "stuck.tif", 200);  // changed: a new job
  EXPECT_TRUE(scanner.Scan(f.List()).found);
  EXPECT_EQ(list.Size(), 0U);

  std::string detail;
  ASSERT_TRUE(list.Add((f.a / "stuck.tif").string(), scanner.Scan(f.List()).stamp, detail));
  std::filesystem::remove(f.a / "stuck.tif");
  scanner.Scan(f.List());
  EXPECT_EQ(UndeletableFiles(program.Path()).Size(), 0U);  // forgotten once gone
}

// Any name a folder can hold survives a restart of the list.
TEST(UndeletableFiles, KeepsAnyNameAcrossARestart) {
  test::TempDir program;
  settings::CreateApplicationFolders(program.Path());
  const FileStamp stamp{1, 2, 3, 4};
  const std::vector<std::string> names{"/hot/plain.tif", "/hot/with space.tif", "/hot/new\nline\\x41.tif",
                                       "/hot/caf\xC3\xA9 \xFF.tif"};
  {
    UndeletableFiles list(program.Path());
    std::string detail;
    for (const std::string& name : names) ASSERT_TRUE(list.Add(name, stamp, detail)) << detail;
  }
  UndeletableFiles list(program.Path());
  EXPECT_EQ(list.Size(), names.size());
  for (const std::string& name : names) EXPECT_TRUE(list.Holds(name, stamp)) << name;
}

}  // namespace
}  // namespace orvella::jobs
