#include "app/commands/command_registry.h"

#include <sstream>

namespace orvella::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

}  // namespace

CommandRegistrar::CommandRegistrar(Command command) { Registry().push_back(std::move(command)); }

const std::vector<Command>& AllCommands() { return Registry(); }

std::string CommandHelp(const Command& command) {
  std::string text =
      "usage: orvella " + command.path + (command.usage.empty() ? "" : " ") + command.usage + "\n";
  if (!command.help.empty()) text += "\n" + command.help + (command.help.back() == '\n' ? "" : "\n");
  return text;
}

const Command* FindCommand(const std::vector<std::string>& args, size_t& consumed) {
  const Command* best = nullptr;
  consumed = 0;
  for (const Command& c : Registry()) {
    const auto words = SplitWords(c.path);
    if (words.size() > args.size() || words.size() <= consumed) continue;
    bool match = true;
    for (size_t i = 0; i < words.size() && match; ++i) match = words[i] == args[i];
    if (match) {
      best = &c;
      consumed = words.size();
    }
  }
  return best;
}

}  // namespace orvella::cli
