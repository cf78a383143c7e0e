// The Debian package built from this build (once, into a temporary folder):
// its file list and control fields, read back with dpkg-deb.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <sstream>

#include "support/process.h"
#include "support/temp_dir.h"

namespace orvella {
namespace {

class PackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (::access("/usr/bin/dpkg-deb", X_OK) != 0 || ::access("/usr/bin/dpkg-shlibdeps", X_OK) != 0) return;
    folder_ = new test::TempDir;
    const auto result = test::RunProcess(CPACK_COMMAND,
                                         {"--config", std::string(ORVELLA_BUILD_DIR) + "/CPackConfig.cmake",
                                          "-G", "DEB", "-B", folder_->Path().string()},
                                         300);
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
    for (const auto& entry : std::filesystem::directory_iterator(folder_->Path())) {
      if (entry.path().extension() == ".deb") package_ = new std::filesystem::path(entry.path());
    }
    ASSERT_NE(package_, nullptr) << result.out;
  }
  static void TearDownTestSuite() {
    delete package_;
    delete folder_;
    package_ = nullptr;
    folder_ = nullptr;
  }
  void SetUp() override {
    if (!folder_) GTEST_SKIP() << "no dpkg-deb or dpkg-shlibdeps";
  }

  // dpkg-deb OPTION PACKAGE [more]: its output.
  static std::string DpkgDeb(const std::string& option, const std::vector<std::string>& more = {}) {
    std::vector<std::string> argv{option, package_->string()};
    argv.insert(argv.end(), more.begin(), more.end());
    const auto result = test::RunProcess("/usr/bin/dpkg-deb", argv);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
  }

  static test::TempDir* folder_;
  static std::filesystem::path* package_;
};

// This machine's Debian architecture (amd64 here), the package's.
std::string Architecture() {
  const auto out = test::RunProcess("/usr/bin/dpkg", {"--print-architecture"}).out;
  return out.substr(0, out.find('\n'));
}

test::TempDir* PackageTest::folder_ = nullptr;
std::filesystem::path* PackageTest::package_ = nullptr;

TEST_F(PackageTest, NamedAfterTheVersionWithItsFilesUnderUsrAndEtc) {
  EXPECT_EQ(package_->filename(), "orvella_" ORVELLA_PACKAGE_VERSION "_" + Architecture() + ".deb");
  std::set<std::string> files;
  std::istringstream listing(DpkgDeb("-c"));
  for (std::string line; std::getline(listing, line);) {
    const auto name = line.substr(line.rfind(' ') + 1);
    if (!name.ends_with('/')) files.insert(name);
  }
  for (const char* file :
       {"./usr/bin/orvella", "./usr/bin/orvella-printer-sim", "./usr/bin/orvella-netsend",
        "./usr/share/orvella/Halftone/1.TIF", "./usr/share/orvella/Halftone/3.TIF",
        "./usr/lib/systemd/system/orvella.service", "./usr/lib/sysusers.d/orvella.conf",
        "./usr/lib/tmpfiles.d/orvella.conf", "./usr/share/applications/orvella.desktop",
        "./etc/xdg/autostart/orvella.desktop", "./usr/share/icons/hicolor/48x48/apps/orvella.png",
        "./usr/share/doc/orvella/hot-folders.conf.example", "./usr/share/orvella/web/index.html"}) {
    EXPECT_TRUE(files.contains(file)) << file;
  }
  // Nothing of the build itself: no tests, no benches, no /usr/local.
  for (const auto& file : files) {
    EXPECT_TRUE(file.starts_with("./usr/") || file.starts_with("./etc/")) << file;
    EXPECT_FALSE(file.starts_with("./usr/local/")) << file;
    EXPECT_EQ(file.find("test"), std::string::npos) << file;
  }
}

TEST_F(PackageTest, ControlFieldsAndScripts) {
  const auto field = [](const std::string& name) {
    auto value = DpkgDeb("-f", {name});
    while (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
  };
  EXPECT_EQ(field("Package"), "orvella");
  EXPECT_EQ(field("Version"), ORVELLA_PACKAGE_VERSION);
  EXPECT_EQ(field("Architecture"), Architecture());
  // Depends comes from the libraries the programs link.
  const auto depends = field("Depends");
  for (const char* library :
       {"libtiff", "libcurl", "libsnmp", "libcairo2", "libqt6widgets6", "libcpp-httplib"}) {
    EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
  }
  EXPECT_FALSE(field("Maintainer").empty());
  EXPECT_FALSE(field("Description").empty());

  const test::TempDir control;
  DpkgDeb("-e", {(control / "DEBIAN").string()});
  EXPECT_EQ(test::ReadFileBytes(control / "DEBIAN/conffiles"), "/etc/xdg/autostart/orvella.desktop\n");
  const auto postinst = test::ReadFileBytes(control / "DEBIAN/postinst");
  EXPECT_NE(postinst.find("systemd-sysusers orvella.conf"), std::string::npos);
  EXPECT_NE(postinst.find("systemd-tmpfiles --create orvella.conf"), std::string::npos);
}

}  // namespace
}  // namespace orvella
