#include "app/web/http_token.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/program_folders.h"
#include "support/temp_dir.h"

namespace orvella::web {
namespace {

TEST(HttpTokenTest, EachStartWritesAFreshTokenForTheOwnerOnly) {
  test::TempDir home;
  settings::CreateApplicationFolders(home.Path());
  const std::string first = CreateHttpToken(home.Path());
  // A token file someone opened up is closed again by the next start.
  ASSERT_EQ(::chmod(HttpTokenPath(home.Path()).c_str(), 0644), 0);
  const std::string second = CreateHttpToken(home.Path());
  EXPECT_EQ(second.size(), 64u);
  EXPECT_NE(first, second);
  EXPECT_EQ(test::ReadFileBytes(HttpTokenPath(home.Path())), second + "\n");
  struct stat st {};
  ASSERT_EQ(::stat(HttpTokenPath(home.Path()).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(HttpTokenTest, OnlyTheWholeTokenMatches) {
  EXPECT_TRUE(TokenMatches("abc123", "abc123"));
  for (const char* given : {"", "abc12", "abc1234", "abc124", "ABC123"})
    EXPECT_FALSE(TokenMatches("abc123", given));
  EXPECT_FALSE(TokenMatches("", ""));
}

}  // namespace
}  // namespace orvella::web
