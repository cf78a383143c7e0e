#include "settings/program_folders.h"

#include <cstdlib>
#include <mutex>
#include <system_error>

#include "settings/settings_error.h"

namespace orvella::settings {
namespace {

std::mutex g_mutex;
std::filesystem::path g_home;  // guarded by g_mutex

constexpr const char* kNoExecutableDirectory = "GetExecutableDirectory()に失敗しました";

std::filesystem::path ResolveHome() {
  std::lock_guard lock(g_mutex);
  if (!g_home.empty()) return g_home;
  if (const char* env = std::getenv("ORVELLA_HOME"); env && *env) return std::filesystem::path(env);
  return ExecutableFolder();
}

}  // namespace

void SetProgramHome(const std::filesystem::path& home) {
  std::error_code ec;
  auto absolute = std::filesystem::absolute(home, ec);
  std::lock_guard lock(g_mutex);
  g_home = ec ? home : absolute.lexically_normal();
}

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return {};
  return exe.parent_path();
}

std::filesystem::path GetExecutableDirectory(const std::string& relative) {
  auto home = ResolveHome();
  if (home.empty()) throw SettingsError(kNoExecutableDirectory);
  std::string text = home.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return std::filesystem::path(text + relative);
}

void CreateApplicationFolders() {
  for (const char* folder : {"/INI", "/ERROR", "/TEMP", "/LOG"}) {
    std::error_code ec;
    try {
      std::filesystem::create_directory(GetExecutableDirectory(folder), ec);
    } catch (const SettingsError&) {
      return;
    }
  }
}

std::filesystem::path TempFolder() { return GetExecutableDirectory("/TEMP"); }

}  // namespace orvella::settings
