#include "base/unique_fd.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <utility>

namespace orvella::base {
namespace {

bool IsOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

TEST(UniqueFd, MovesOwnershipAndClosesOnce) {
  UniqueFd first(open("/dev/null", O_RDONLY | O_CLOEXEC));
  ASSERT_TRUE(first);
  const int fd = first.Get();
  {
    UniqueFd second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), fd);
    UniqueFd third;
    third = std::move(second);
    EXPECT_TRUE(IsOpen(fd));
  }
  EXPECT_FALSE(IsOpen(fd));

  UniqueFd kept(open("/dev/null", O_RDONLY | O_CLOEXEC));
  EXPECT_TRUE(kept.Close());
  EXPECT_FALSE(kept);
  EXPECT_FALSE(kept.Close());  // nothing left to close
}

// A writer learns that buffered data never reached the file.
TEST(FilePtr, CloseFileReportsAFailedFlush) {
  FilePtr full(std::fopen("/dev/full", "we"));
  ASSERT_TRUE(full);
  ASSERT_GE(std::fputs("lost", full.get()), 0);  // buffered: the write fails at the close
  EXPECT_FALSE(CloseFile(std::move(full)));
  EXPECT_FALSE(full);

  FilePtr null(std::fopen("/dev/null", "we"));
  ASSERT_TRUE(null);
  ASSERT_GE(std::fputs("gone", null.get()), 0);
  EXPECT_TRUE(CloseFile(std::move(null)));
  EXPECT_FALSE(CloseFile(FilePtr()));
}

}  // namespace
}  // namespace orvella::base
