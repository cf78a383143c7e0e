// orvella: the hot-folder print server and its operator commands.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/commands/command_registry.h"
#include "app/gui/gui_main.h"
#include "app/setup/process_setup.h"
#include "app/version_text.h"
#include "orvella_version.h"
#include "settings/program_folders.h"
#include "settings/work_folder.h"

namespace {

void PrintHelp(const std::filesystem::path& home) {
  std::cout << "Orvella " ORVELLA_VERSION
               " — hot-folder print server\n\n"
               "usage: orvella [--home DIR] [COMMAND ...]\n"
               "       without a command: the program with its windows and notification icon\n\n"
               "  --home DIR   program folder (INI, ERROR, TEMP, LOG); default $ORVELLA_HOME,\n"
               "               else the folder of the executable when it is writable and not\n"
               "               an installation's bin/, else $XDG_DATA_HOME/orvella\n"
               "               (~/.local/share/orvella)\n"
               "  --version    print the version and the libraries' versions\n"
               "  --help       print this help\n\n";
  try {
    const auto choice = orvella::cli::ResolveProgramFolderChoice(home);
    std::cout << "program folder: " << choice.folder.string() << " (" << choice.reason << ")\n\n";
  } catch (const std::exception& e) {
    std::cout << "program folder: none (" << e.what() << ")\n\n";
  }
  std::cout << "commands:\n";
  for (const auto& c : orvella::cli::AllCommands()) {
    std::cout << "  orvella " << c.path << (c.usage.empty() ? "" : " ") << c.usage << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  const orvella::settings::ProcessFolders folders = orvella::cli::SetUpProcess();
  std::vector<std::string> args;
  std::filesystem::path home;
  // --home is global: taken wherever it stands so every command honours it.
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--home") {
      if (i + 1 >= argc) {
        std::cerr << "orvella: --home needs a folder\n";
        return 2;
      }
      home = argv[++i];
    } else {
      args.push_back(std::move(a));
    }
  }
  if (!args.empty() && args[0] == "--version") {
    std::cout << orvella::cli::VersionText();
    return 0;
  }
  if (args.empty()) return orvella::cli::RunGui(home, folders, argc, argv);
  if (args[0] == "--help" || args[0] == "-h") {
    PrintHelp(home);
    return 0;
  }
  size_t consumed = 0;
  const auto* command = orvella::cli::FindCommand(args, consumed);
  if (!command) {
    std::cerr << "orvella: unknown command '" << args[0] << "' (see orvella --help)\n";
    return 2;
  }
  const std::vector<std::string> rest(args.begin() + static_cast<long>(consumed), args.end());
  if (std::find(rest.begin(), rest.end(), "--help") != rest.end() ||
      std::find(rest.begin(), rest.end(), "-h") != rest.end()) {
    std::cout << orvella::cli::CommandHelp(*command);
    return 0;
  }
  try {
    const auto choice = orvella::cli::ResolveProgramFolderChoice(home, command->makesProgramFolder);
    const orvella::cli::CommandContext context{choice.folder,
                                               orvella::settings::DescribeProgramFolder(choice), folders};
    // Work folders and half-written settings of runs that were killed go
    // before this run makes its own.
    orvella::settings::RemoveStaleWorkFolders(context.program);
    orvella::settings::RemoveInterruptedSaves(context.program);
    return command->run(context, rest);
  } catch (const orvella::cli::UsageError& e) {
    std::cerr << "orvella " << command->path << ": " << e.what() << "\n"
              << orvella::cli::CommandHelp(*command);
    return 2;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
