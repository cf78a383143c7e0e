#include "settings/program_folders.h"

#include <string>
#include <system_error>

#include "base/file_io.h"
#include "settings/settings_error.h"

namespace orvella::settings {
namespace {

constexpr const char* kNoProgramFolder = "GetExecutableDirectory()に失敗しました";

std::filesystem::path Absolute(const std::filesystem::path& folder) {
  std::error_code ec;
  auto absolute = std::filesystem::absolute(folder, ec).lexically_normal();
  if (ec) return folder;
  // "dir/.." normalises to "dir/": the folder is the same without the slash.
  if (!absolute.has_filename() && absolute.has_parent_path() && absolute != absolute.root_path())
    absolute = absolute.parent_path();
  return absolute;
}

}  // namespace

ProgramFolderChoice ChooseProgramFolder(const ProgramFolderInputs& in) {
  if (!in.homeOption.empty()) return {in.homeOption, "--home", false};
  if (!in.homeVariable.empty()) return {in.homeVariable, "$ORVELLA_HOME", false};
  constexpr const char* kNoChoice = "neither --home nor $ORVELLA_HOME is given";
  if (!in.executable.empty() && in.executableFolderUsable)
    return {in.executable, std::string("the executable's folder, as ") + kNoChoice, false};
  const std::string why =
      std::string(kNoChoice) + " and " +
      (in.executable.empty() ? "the executable's folder is unknown"
                             : "the executable's folder is an installation's or not writable");
  // The XDG rules ignore a relative $XDG_DATA_HOME.
  if (!in.xdgDataHome.empty() && in.xdgDataHome.front() == '/')
    return {std::filesystem::path(in.xdgDataHome) / "orvella", "$XDG_DATA_HOME/orvella (" + why + ")", true};
  if (!in.userHome.empty())
    return {std::filesystem::path(in.userHome) / ".local/share/orvella",
            "~/.local/share/orvella (" + why + ")", true};
  return {};
}

ProgramFolderChoice ResolveProgramFolderChoice(const ProgramFolderInputs& inputs, bool makeMissing) {
  auto choice = ChooseProgramFolder(inputs);
  if (choice.folder.empty()) throw SettingsError(kNoProgramFolder);
  choice.folder = Absolute(choice.folder);
  std::error_code made;
  if (choice.userDataFolder || makeMissing) std::filesystem::create_directories(choice.folder, made);
  // An empty folder is a program folder not used yet (the start creates its
  // INI, ERROR, TEMP and LOG); a name that is no folder at all is a mistake
  // that would otherwise read as a program folder without any settings.
  std::error_code ec;
  const auto status = std::filesystem::status(choice.folder, ec);
  std::string missing;
  if (status.type() == std::filesystem::file_type::not_found)
    missing = made ? "there is no such folder, and it cannot be made: " + made.message()
                   : "there is no such folder";
  else if (ec)
    missing = "it cannot be examined: " + ec.message();
  else if (!std::filesystem::is_directory(status))
    missing = "it is a file, not a folder";
  if (!missing.empty()) {
    throw SettingsError(choice.folder.string() + " is not a program folder: " + missing + " (" +
                        choice.reason + ")");
  }
  return choice;
}

std::string DescribeProgramFolder(const ProgramFolderChoice& choice) {
  return "the program folder " + choice.folder.string() + " (" + choice.reason + ")";
}

std::filesystem::path InstalledDataFolder(const std::filesystem::path& executable) {
  return (executable.parent_path() / "share/orvella").lexically_normal();
}

std::filesystem::path FindDataFile(const std::filesystem::path& program, const std::filesystem::path& data,
                                   std::string_view relative) {
  std::error_code ec;
  if (!program.empty()) {
    auto own = ProgramPath(program, relative);
    if (std::filesystem::exists(own, ec)) return own;
  }
  if (data.empty()) return program.empty() ? std::filesystem::path() : ProgramPath(program, relative);
  return ProgramPath(data, relative);
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

int RemoveInterruptedSaves(const std::filesystem::path& program) {
  return base::RemoveAbandonedReplacements(ProgramPath(program, "/INI"));
}

std::filesystem::path TempFolder(const std::filesystem::path& program) {
  return ProgramPath(program, "/TEMP");
}

}  // namespace orvella::settings
