#pragma once
// orvella without a subcommand: the program with its windows.
#include <filesystem>

#include "settings/program_folders.h"

namespace orvella::cli {

class MessageBoxes;

// Start-up on the program folder of the --home option (empty: the default),
// the event loop until the exit command has been carried out, and the exit
// code: 0, or -1 for a second start, a lock that cannot be taken or an
// unexpected error.
int RunGui(const std::filesystem::path& homeOption, const settings::ProcessFolders& folders, int& argc,
           char** argv);

// The same once the QApplication exists, with the message boxes given (tests
// answer them).
int RunGuiWith(const std::filesystem::path& homeOption, const settings::ProcessFolders& folders,
               MessageBoxes& messages);

}  // namespace orvella::cli
