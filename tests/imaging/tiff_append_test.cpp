#include "imaging/tiff_append.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace orvella::imaging {
namespace {

using orvella::test::ReadFileBytes;
using orvella::test::WriteFileBytes;

TEST(AppendFile, AppendsEveryByteAcrossBlocks) {
  orvella::test::TempDir dir;
  std::string big(3 * 1024 * 1024 + 17, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 31 + i / 4096);
  WriteFileBytes(dir / "page2", big);
  WriteFileBytes(dir / "joined", "page1");
  ASSERT_EQ(AppendFile(dir / "joined", dir / "page2"), kTiffOk);
  EXPECT_EQ(ReadFileBytes(dir / "joined"), "page1" + big);
  // A missing target is created.
  ASSERT_EQ(AppendFile(dir / "new", dir / "page2"), kTiffOk);
  EXPECT_EQ(ReadFileBytes(dir / "new"), big);
}

TEST(AppendFile, FailsOnMissingSourceAndOnItself) {
  orvella::test::TempDir dir;
  WriteFileBytes(dir / "a", "abc");
  EXPECT_EQ(AppendFile(dir / "a", dir / "missing"), kTiffOpenError);
  EXPECT_EQ(AppendFile(dir / "a", dir / "a"), kTiffOpenError);
  EXPECT_EQ(AppendFile(dir / "no/such/folder", dir / "a"), kTiffOpenError);
  EXPECT_EQ(ReadFileBytes(dir / "a"), "abc");
}

}  // namespace
}  // namespace orvella::imaging
