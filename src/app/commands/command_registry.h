#pragma once
// Subcommands of the orvella binary. Each command file registers itself with a
// static CommandRegistrar; main() picks the longest registered word path.
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/program_folders.h"

namespace orvella::cli {

// What every command is handed besides its arguments.
struct CommandContext {
  std::filesystem::path program;     // the program folder chosen at start
  std::string programOrigin;         // which folder and how it was chosen, for messages
  settings::ProcessFolders folders;  // what the process set-up found
};

using CommandFn = std::function<int(const CommandContext& context, const std::vector<std::string>& args)>;

struct Command {
  std::string path;   // words, e.g. "settings dump" or "tool tiff-info"
  std::string usage;  // one line: arguments after the path
  CommandFn run;      // receives the context and the arguments after the path
  std::string help;   // what the command does, its arguments and, for JSON input, every key
  // Starts the system, which makes its folders: a program folder that does
  // not exist yet is made rather than refused.
  bool makesProgramFolder = false;
};

// "usage: orvella PATH USAGE", then the command's help.
std::string CommandHelp(const Command& command);

struct CommandRegistrar {
  explicit CommandRegistrar(Command command);
};

const std::vector<Command>& AllCommands();

// Finds the command whose path matches the most leading words of args;
// consumed is set to the number of words it took.
const Command* FindCommand(const std::vector<std::string>& args, size_t& consumed);

// Bad command-line usage: main prints the message and the usage, exit 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace orvella::cli
