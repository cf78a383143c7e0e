#pragma once
// The program folder and the folders under it (INI, ERROR, TEMP, LOG).
// The program folder is --home DIR, else $ORVELLA_HOME, else the folder of
// the running executable.
#include <filesystem>
#include <string>

namespace orvella::settings {

// Fixes the program folder for the rest of the run (the --home option).
void SetProgramHome(const std::filesystem::path& home);

// The program folder followed by relative ("/INI/INPUT.INI" and so on).
// Raises SettingsError "GetExecutableDirectory()に失敗しました" when no
// program folder can be determined.
std::filesystem::path GetExecutableDirectory(const std::string& relative = "");

// Creates INI, ERROR, TEMP and LOG in that order where missing; failures are
// ignored (the later use of a folder reports them).
void CreateApplicationFolders();

// The TEMP folder of the program folder.
std::filesystem::path TempFolder();

// The folder the running executable lies in, or empty when unknown.
std::filesystem::path ExecutableFolder();

}  // namespace orvella::settings
