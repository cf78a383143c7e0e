// orvella tool scan, run as the operator would.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella::cli {
namespace {

using nlohmann::json;

void MakeFile(const std::filesystem::path& path, time_t mtime) {
  test::WriteFileBytes(path, "data");
  const timespec times[2] = {{mtime, 0}, {mtime, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

json Scan(const test::TempDir& home) {
  const auto r =
      test::RunProcess(test::BinaryPath("orvella"), {"tool", "scan", "--home", home.Path().string()});
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  return json::parse(r.out, nullptr, false);
}

TEST(ScanCommand, PrintsTheOldestFileOverTheFoldersAndWhatWasSkipped) {
  test::TempDir home, a, b;
  std::filesystem::create_directories(home / "INI");
  test::WriteFileBytes(home / "INI/INPUT.INI", "[GLOBAL]\nNUM_INPUTS=\"2\"\n[INPUT_0]\nINPUT_DIR=\"" +
                                                   a.Path().string() + "\"\n[INPUT_1]\nINPUT_DIR=\"" +
                                                   b.Path().string() + "\"\n");
  EXPECT_EQ(Scan(home), json({{"found", false},
                              {"path", nullptr},
                              {"folder_index", nullptr},
                              {"mtime", nullptr},
                              {"skipped", json::array()}}));

  MakeFile(a / "new.tif", 2000);
  MakeFile(b / "old.plt", 1000);
  std::filesystem::create_directory(a / "sub");
  const json found = Scan(home);
  EXPECT_EQ(found["found"], true);
  EXPECT_EQ(found["path"], (b / "old.plt").string());
  EXPECT_EQ(found["folder_index"], 1);
  EXPECT_EQ(found["mtime"], (1000ULL + 11644473600ULL) * 10000000ULL);
  EXPECT_EQ(found["skipped"],
            json::parse(R"([{"path": ")" + (a / "sub").string() + R"(", "reason": "not a regular file"}])"));
}

}  // namespace
}  // namespace orvella::cli
