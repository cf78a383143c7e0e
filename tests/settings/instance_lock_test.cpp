#include "settings/instance_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "settings/program_folders.h"
#include "settings/work_folder.h"
#include "support/temp_dir.h"

namespace orvella::settings {
namespace {

TEST(InstanceLock, OneHolderPerProgramFolderAndTheCleanerLeavesItAlone) {
  test::TempDir home;
  InstanceLockAttempt first = AcquireInstanceLock(home.Path());
  ASSERT_TRUE(first.lock) << first.detail;

  RemoveStaleWorkFolders(home.Path());
  EXPECT_TRUE(std::filesystem::exists(TempFolder(home.Path()) / kInstanceLockName));
  const InstanceLockAttempt second = AcquireInstanceLock(home.Path());
  EXPECT_FALSE(second.lock);
  EXPECT_TRUE(second.held);
  EXPECT_EQ(second.holder, ::getpid());

  first.lock.reset();
  EXPECT_TRUE(AcquireInstanceLock(home.Path()).lock);
}

// A lock that cannot be taken at all is no second instance: the caller
// must not hand over to a first one that does not exist.
TEST(InstanceLock, ALockFileThatCannotBeOpenedIsNotHeldByAnother) {
  test::TempDir home;
  test::WriteFileBytes(TempFolder(home.Path()), "a file where the folder belongs");
  const InstanceLockAttempt attempt = AcquireInstanceLock(home.Path());
  EXPECT_FALSE(attempt.lock);
  EXPECT_FALSE(attempt.held);
  EXPECT_NE(attempt.detail.find("cannot open the lock file"), std::string::npos) << attempt.detail;
}

}  // namespace
}  // namespace orvella::settings
