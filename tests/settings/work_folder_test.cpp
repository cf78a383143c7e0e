#include "settings/work_folder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

namespace fs = std::filesystem;

// A work folder made by a child process that then dies without cleaning up,
// as a killed run leaves it.
fs::path LeftByADeadProcess(const fs::path& program) {
  int pipeFds[2];
  EXPECT_EQ(pipe(pipeFds), 0);
  const pid_t child = fork();
  if (child == 0) {
    std::string detail;
    auto folder = WorkFolder::Create(program, detail);
    const std::string path = folder ? folder->Path().string() : "";
    (void)!write(pipeFds[1], path.data(), path.size());
    _exit(0);  // no destructors: the folder stays
  }
  close(pipeFds[1]);
  char buffer[4096];
  const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return n > 0 ? fs::path(std::string(buffer, static_cast<size_t>(n))) : fs::path();
}

TEST(WorkFolder, EachJobHasItsOwnFolderRemovedWithEverythingInIt) {
  test::TempDir home;
  std::string detail;
  auto a = WorkFolder::Create(home.Path(), detail);
  auto b = WorkFolder::Create(home.Path(), detail);
  ASSERT_TRUE(a && b) << detail;
  EXPECT_NE(a->Path(), b->Path());
  EXPECT_EQ(a->Path().parent_path(), home / "TEMP");
  EXPECT_EQ(a->Context().program, home.Path());
  EXPECT_EQ(a->Context().work, a->Path());
  test::WriteFileBytes(a->Path() / "tiff_drawed.tif", "page");
  const fs::path gone = a->Path();
  a.reset();
  EXPECT_FALSE(fs::exists(gone));
  EXPECT_TRUE(fs::is_directory(b->Path()));
}

TEST(WorkFolder, StartRemovesOnlyWhatDeadProcessesLeft) {
  test::TempDir home;
  const fs::path dead = LeftByADeadProcess(home.Path());
  ASSERT_FALSE(dead.empty());
  ASSERT_TRUE(fs::is_directory(dead));
  test::WriteFileBytes(dead / "tiff_magnify.tif", "half a page");
  std::string detail;
  auto live = WorkFolder::Create(home.Path(), detail);
  ASSERT_TRUE(live) << detail;
  test::WriteFileBytes(home / "TEMP/sendfile.prn", "not a work folder");

  EXPECT_EQ(RemoveStaleWorkFolders(home.Path()), 1);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::is_directory(live->Path()));
  EXPECT_TRUE(fs::exists(home / "TEMP/sendfile.prn"));
  EXPECT_EQ(RemoveStaleWorkFolders(home.Path()), 0);
}

TEST(WorkFolder, UnwritableTempSaysWhy) {
  test::TempDir home;
  test::WriteFileBytes(home / "TEMP", "a file where the folder belongs");
  std::string detail;
  EXPECT_FALSE(WorkFolder::Create(home.Path(), detail));
  EXPECT_NE(detail.find("TEMP"), std::string::npos) << detail;
}

}  // namespace
}  // namespace orvella::settings
