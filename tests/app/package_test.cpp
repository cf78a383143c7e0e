// The Debian package built from this build (once, into a temporary folder):
// its file list and control fields, read back with dpkg-deb.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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
        "./usr/share/doc/orvella/hot-folders.conf.example", "./usr/share/doc/orvella/ip-allow.conf.example",
        "./usr/share/doc/orvella/copyright", "./usr/share/doc/orvella/changelog.gz",
        "./usr/share/orvella/web/index.html"}) {
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
  // Depends comes from the libraries the programs link, and Qt's Japanese texts.
  const auto depends = field("Depends");
  for (const char* library : {"libtiff", "libcurl", "libsnmp", "libcairo2", "libqt6widgets6",
                              "libcpp-httplib", "qt6-translations-l10n"}) {
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

// Everything is root's: the programs 0755, every other file 0644, folders
// 0755; nothing set-id, nothing others can write. The service's own folder
// is made its user's, closed to others.
TEST_F(PackageTest, FileModes) {
  std::istringstream listing(DpkgDeb("-c"));
  int files = 0;
  for (std::string line; std::getline(listing, line);) {
    std::istringstream fields(line);
    std::string mode, owner;
    fields >> mode >> owner;
    const auto name = line.substr(line.rfind(' ') + 1);
    EXPECT_EQ(owner, "root/root") << line;
    if (mode.starts_with('d')) {
      EXPECT_EQ(mode, "drwxr-xr-x") << line;
    } else {
      EXPECT_EQ(mode, name.starts_with("./usr/bin/") ? "-rwxr-xr-x" : "-rw-r--r--") << line;
      ++files;
    }
  }
  EXPECT_GT(files, 10);
  const test::TempDir root;
  DpkgDeb("-x", {root.Path().string()});
  EXPECT_NE(test::ReadFileBytes(root / "usr/lib/tmpfiles.d/orvella.conf")
                .find("\nd /var/lib/orvella 0750 orvella orvella -\n"),
            std::string::npos);
}

// Debian's own package checker finds no error, where it is installed; its
// warnings are printed for a closer look.
TEST_F(PackageTest, LintianFindsNoError) {
  if (::access("/usr/bin/lintian", X_OK) != 0) GTEST_SKIP() << "no lintian";
  const auto result = test::RunProcess("/usr/bin/lintian", {"--fail-on", "error", package_->string()}, 120);
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  std::istringstream lines(result.out);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_FALSE(line.starts_with("E: ")) << line;
    if (line.starts_with("W: ")) std::cout << line << '\n';
  }
}

// The service unit as packaged: the sandbox it runs in, directive by
// directive, and the example drop-in that limits its addresses.
TEST_F(PackageTest, ServiceUnitDirectives) {
  const test::TempDir root;
  DpkgDeb("-x", {root.Path().string()});
  const auto directives = [&](const std::string& file) {
    std::multimap<std::string, std::string> found;
    std::istringstream unit(test::ReadFileBytes(root / file));
    for (std::string line; std::getline(unit, line);) {
      const auto equals = line.find('=');
      if (!line.empty() && line[0] != '#' && line[0] != '[' && equals != std::string::npos)
        found.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return found;
  };
  const auto unit = directives("usr/lib/systemd/system/orvella.service");
  const std::vector<std::pair<std::string, std::vector<std::string>>> expected{
      {"User", {"orvella"}},
      {"UMask", {"0077"}},
      {"LimitCORE", {"0"}},
      {"MemoryMax", {"4G"}},
      {"TasksMax", {"128"}},
      {"AmbientCapabilities", {"CAP_LEASE"}},
      {"CapabilityBoundingSet", {"CAP_LEASE"}},
      {"NoNewPrivileges", {"yes"}},
      {"ProtectSystem", {"strict"}},
      {"ReadWritePaths", {"/var/lib/orvella"}},
      {"ProtectHome", {"yes"}},
      {"ProtectProc", {"invisible"}},
      {"ProcSubset", {"pid"}},
      {"RemoveIPC", {"yes"}},
      {"RestrictAddressFamilies", {"AF_UNIX AF_INET AF_INET6"}},
      {"SystemCallFilter", {"@system-service", "~@privileged @resources"}},
      {"SystemCallErrorNumber", {"EPERM"}},
  };
  for (const auto& [key, values] : expected) {
    const auto [first, last] = unit.equal_range(key);
    std::vector<std::string> found;
    for (auto it = first; it != last; ++it) found.push_back(it->second);
    EXPECT_EQ(found, values) << key;
  }
  // What systemd makes of them together, where its analyzer is installed.
  if (::access("/usr/bin/systemd-analyze", X_OK) == 0) {
    const std::string mark = "Overall exposure level for orvella.service: ";
    const auto result = test::RunProcess(
        "/usr/bin/systemd-analyze",
        {"security", "--offline=yes", (root / "usr/lib/systemd/system/orvella.service").string()});
    const auto at = result.out.find(mark);
    ASSERT_NE(at, std::string::npos) << result.out << result.err;
    EXPECT_LE(std::stod(result.out.substr(at + mark.size())), 1.5) << result.out;
  }
  const auto dropIn = directives("usr/share/doc/orvella/ip-allow.conf.example");
  EXPECT_EQ(dropIn.count("IPAddressDeny"), 1u);
  EXPECT_EQ(dropIn.find("IPAddressDeny")->second, "any");
  const auto allowed = dropIn.equal_range("IPAddressAllow");
  EXPECT_TRUE(
      std::any_of(allowed.first, allowed.second, [](const auto& d) { return d.second == "localhost"; }));
}

}  // namespace
}  // namespace orvella
