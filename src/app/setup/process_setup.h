#pragma once
// Process set-up, once in main() before any command and before any thread
// starts: the libraries' global start-up, the signal a lease break raises,
// and what the process finds about itself (its folders, the environment it
// reads). Below the application nothing reads the environment or /proc and
// no library is started on first use: what they need is handed down as values.
#include <filesystem>

#include "settings/program_folders.h"

namespace orvella::cli {

// Starts curl, starts net-snmp quietly (no configuration files, MIBs,
// persistent state or log output), silences libtiff's process-wide message
// handlers and ignores SIGIO (a broken lease on a hot-folder file). Returns
// the process's folders. Call once, first thing in main().
settings::ProcessFolders SetUpProcess();

// The folders of this process alone, without starting any library.
settings::ProcessFolders CurrentProcessFolders();

// The folder the running executable lies in, or empty when unknown.
std::filesystem::path ExecutableFolder();

// The read-only data shipped with the program (halftone patterns, icons, the
// manual): share/orvella beside the executable's bin/ when installed, else
// the executable's folder (a build tree). Empty when executable is.
std::filesystem::path DataFolder(const std::filesystem::path& executable);

// What the choice of the program folder depends on in this process: --home,
// $ORVELLA_HOME, the executable's folder, $XDG_DATA_HOME and $HOME.
settings::ProgramFolderInputs CurrentProgramFolderInputs(const std::filesystem::path& homeOption);

// The program folder of this process (settings::ResolveProgramFolderChoice on
// CurrentProgramFolderInputs; with makeMissing a missing folder is made).
// Raises SettingsError when none can be determined or the name is no folder.
settings::ProgramFolderChoice ResolveProgramFolderChoice(const std::filesystem::path& homeOption = {},
                                                         bool makeMissing = false);
std::filesystem::path ResolveProgramFolder(const std::filesystem::path& homeOption = {},
                                           bool makeMissing = false);

}  // namespace orvella::cli
