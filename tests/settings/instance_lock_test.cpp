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
  EXPECT_EQ(second.holder, ::getpid());

  first.lock.reset();
  EXPECT_TRUE(AcquireInstanceLock(home.Path()).lock);
}

}  // namespace
}  // namespace orvella::settings
