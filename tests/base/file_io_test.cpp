#include "base/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

#include "support/temp_dir.h"

namespace orvella::base {
namespace {

// The mode a save leaves: a file that holds secrets is closed again whatever
// mode it was copied in with; others keep their mode within createMode.
TEST(ReplaceFileAtomically, ModeOfTheSavedFile) {
  struct Case {
    std::optional<mode_t> existing;  // nullopt: no file yet
    mode_t createMode;
    mode_t expected;
  };
  const Case cases[] = {
      {std::nullopt, 0600, 0600}, {std::nullopt, 0664, 0664},  // the umask is not consulted
      {0644, 0600, 0600},                                      // copied in world-readable
      {0666, 0600, 0600},         {0400, 0600, 0600},
      {0640, 0644, 0640},                              // narrower than createMode: kept
      {0600, 0644, 0600},         {0666, 0644, 0644},  // world-writable
      {0775, 0644, 0644},         {04755, 0644, 0644},
  };
  test::TempDir dir;
  const std::filesystem::path path = dir / "SETTINGS.INI";
  for (const Case& c : cases) {
    std::filesystem::remove(path);
    if (c.existing) {
      test::WriteFileBytes(path, "old");
      ASSERT_EQ(::chmod(path.c_str(), *c.existing), 0);
    }
    ASSERT_TRUE(ReplaceFileAtomically(path, "new", c.createMode));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.expected)
        << std::oct << "existing " << c.existing.value_or(0) << ", createMode " << c.createMode;
    EXPECT_EQ(test::ReadFileBytes(path), "new");
  }
}

}  // namespace
}  // namespace orvella::base
