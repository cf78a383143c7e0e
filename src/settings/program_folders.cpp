#include "settings/program_folders.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "settings/settings_error.h"

namespace orvella::settings {
namespace {

constexpr const char* kNoProgramFolder = "GetExecutableDirectory()に失敗しました";

}  // namespace

std::filesystem::path ResolveProgramFolder(const std::filesystem::path& homeOption) {
  std::filesystem::path home = homeOption;
  if (home.empty()) {
    if (const char* env = std::getenv("ORVELLA_HOME"); env && *env) home = env;
  }
  if (home.empty()) home = ExecutableFolder();
  if (home.empty()) throw SettingsError(kNoProgramFolder);
  std::error_code ec;
  auto absolute = std::filesystem::absolute(home, ec).lexically_normal();
  if (ec) return home;
  // "dir/.." normalises to "dir/": the folder is the same without the slash.
  if (!absolute.has_filename() && absolute.has_parent_path() && absolute != absolute.root_path())
    absolute = absolute.parent_path();
  return absolute;
}

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return {};
  return exe.parent_path();
}

std::filesystem::path ProgramPath(const std::filesystem::path& program, std::string_view relative) {
  if (program.empty()) throw SettingsError(kNoProgramFolder);
  std::string text = program.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return std::filesystem::path(text + std::string(relative));
}

void CreateApplicationFolders(const std::filesystem::path& program) {
  if (program.empty()) return;
  for (const char* folder : {"/INI", "/ERROR", "/TEMP", "/LOG"}) {
    std::error_code ec;
    std::filesystem::create_directory(ProgramPath(program, folder), ec);
  }
}

std::filesystem::path TempFolder(const std::filesystem::path& program) {
  return ProgramPath(program, "/TEMP");
}

}  // namespace orvella::settings
