#include "base/read_lines.h"

#include <gtest/gtest.h>

#include "base/file_error.h"
#include "support/temp_dir.h"

namespace orvella::base {
namespace {

using Lines = std::vector<std::string>;

TEST(ReadLines, LineEnds) {
  test::TempDir dir;
  struct Case {
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"a\r\nb\n\nc", {"a", "b", "", "c"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR is two line ends
      {"a\rb\r", {"a", "b"}},
      {"", {}},
      {"\n", {""}},
  };
  for (const auto& c : cases) {
    test::WriteFileBytes(dir / "f.txt", c.bytes);
    Lines lines = {"stale"};
    EXPECT_TRUE(ReadLines(dir / "f.txt", lines));
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(ReadLines, LineLengthLimitAndMissingFile) {
  test::TempDir dir;
  Lines lines = {"stale"};
  EXPECT_FALSE(ReadLines(dir / "missing", lines));
  EXPECT_TRUE(lines.empty());

  test::WriteFileBytes(dir / "ok.txt", std::string(8191, 'x') + "\r\n");
  ASSERT_TRUE(ReadLines(dir / "ok.txt", lines));
  EXPECT_EQ(lines.at(0).size(), 8191u);

  test::WriteFileBytes(dir / "long.txt", std::string(8192, 'x'));
  try {
    ReadLines(dir / "long.txt", lines);
    FAIL();
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "ReadLines()バッファオーバー");
  }
}

}  // namespace
}  // namespace orvella::base
