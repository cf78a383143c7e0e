#pragma once
// The program folder and the folders under it (INI, ERROR, TEMP, LOG). The
// program folder is chosen once at start (--home DIR, else $ORVELLA_HOME, else
// the folder of the running executable) and then handed to every piece of
// work; nothing below the application reads it from a global.
#include <filesystem>
#include <string_view>

namespace orvella::settings {

// The program folder: homeOption when given (made absolute), else
// $ORVELLA_HOME when set and not empty, else the executable's folder. Raises
// SettingsError "GetExecutableDirectory()に失敗しました" when none can be
// determined.
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& homeOption = {});

// The program folder followed by relative ("/INI/INPUT.INI" and so on).
// Raises SettingsError "GetExecutableDirectory()に失敗しました" when program
// is empty.
std::filesystem::path ProgramPath(const std::filesystem::path& program, std::string_view relative);

// Creates INI, ERROR, TEMP and LOG in that order where missing; failures are
// ignored (the later use of a folder reports them).
void CreateApplicationFolders(const std::filesystem::path& program);

// The TEMP folder of the program folder.
std::filesystem::path TempFolder(const std::filesystem::path& program);

// The folder the running executable lies in, or empty when unknown.
std::filesystem::path ExecutableFolder();

}  // namespace orvella::settings
