#pragma once
// The program folder and the folders under it (INI, ERROR, TEMP, LOG). The
// program folder is chosen once at process set-up (--home DIR, else
// $ORVELLA_HOME, else the folder of the running executable, or for an
// installed program a folder of the user's) and then handed to every piece of
// work; nothing below the application reads it from a global.
#include <filesystem>
#include <string>
#include <string_view>

namespace orvella::settings {

// What the choice of the program folder depends on, gathered so that the
// rules can be tried without changing the process's environment.
struct ProgramFolderInputs {
  std::filesystem::path homeOption;     // --home, empty when not given
  std::string homeVariable;             // $ORVELLA_HOME, empty when unset
  std::filesystem::path executable;     // the executable's folder, empty when unknown
  bool executableFolderUsable = false;  // writable, and not the bin/ of an installation
  std::string xdgDataHome;              // $XDG_DATA_HOME, empty when unset
  std::string userHome;                 // $HOME, empty when unset
};

struct ProgramFolderChoice {
  std::filesystem::path folder;  // empty when none could be chosen
  std::string reason;            // how it was chosen, for --help
  bool userDataFolder = false;   // the per-user default, created when missing
};

// --home, else $ORVELLA_HOME, else the executable's folder when it is usable,
// else $XDG_DATA_HOME/orvella (default ~/.local/share/orvella). Relative
// results are left as they are.
ProgramFolderChoice ChooseProgramFolder(const ProgramFolderInputs& inputs);

// ChooseProgramFolder made absolute; the per-user folder, and with
// makeMissing any folder, is created when missing. Raises SettingsError
// "GetExecutableDirectory()に失敗しました" when none can be determined, and
// SettingsError saying what is missing when the chosen name is not a folder
// (an empty folder is a program folder not used yet). The process's own
// inputs are gathered at set-up (app/).
ProgramFolderChoice ResolveProgramFolderChoice(const ProgramFolderInputs& inputs, bool makeMissing = false);

// "the program folder /srv/orvella (--home)": which folder, and how it was
// chosen, for messages about what was (not) found in it.
std::string DescribeProgramFolder(const ProgramFolderChoice& choice);

// What the process found about itself at set-up (app/), handed down as a value:
// nothing below the application reads the environment or /proc.
struct ProcessFolders {
  // The running executable's folder; orvella-netsend lies beside it.
  std::filesystem::path executable;
  // The read-only files shipped with the program (Halftone/, web/, the manual).
  std::filesystem::path data;
  // The user's network mount folder (gvfs in the runtime folder), or empty.
  std::filesystem::path networkShortcuts;
};

// The program folder followed by relative ("/INI/INPUT.INI" and so on).
// Raises SettingsError "GetExecutableDirectory()に失敗しました" when program
// is empty.
std::filesystem::path ProgramPath(const std::filesystem::path& program, std::string_view relative);

// Creates INI, ERROR, TEMP and LOG in that order where missing; failures are
// ignored (the later use of a folder reports them).
void CreateApplicationFolders(const std::filesystem::path& program);

// Removes the half-written settings files that runs killed in the middle of
// a save left in INI; returns how many.
int RemoveInterruptedSaves(const std::filesystem::path& program);

// The TEMP folder of the program folder.
std::filesystem::path TempFolder(const std::filesystem::path& program);

// The read-only data of an installation whose executables lie in executable
// (bin/): share/orvella beside it.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executable);

// A read-only file by its path relative to the program folder ("/Halftone/1.TIF"):
// the program folder's own copy when it exists, else the one in data (the
// shipped files), so program folders that carry their own copies keep using them.
std::filesystem::path FindDataFile(const std::filesystem::path& program, const std::filesystem::path& data,
                                   std::string_view relative);

}  // namespace orvella::settings
