#pragma once
// Minimal option parser for subcommands: positional words, "--name VALUE"
// options, "--name VALUE" options that may be given several times, and
// "--flag" switches. Unknown or (other) repeated options and more
// positional words than the command takes are a UsageError, so a mistyped
// command line never runs with part of it ignored.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvella::cli {

class CliArgs {
 public:
  CliArgs(const std::vector<std::string>& args, size_t maxPositional,
          const std::set<std::string>& valueOptions, const std::set<std::string>& flags = {},
          const std::set<std::string>& repeatableOptions = {});

  const std::vector<std::string>& Positional() const { return positional_; }
  // The positional word at index, or a UsageError naming what is missing.
  const std::string& Required(size_t index, const char* what) const;
  bool Has(const std::string& flag) const { return flags_.count(flag) != 0; }
  std::optional<std::string> Value(const std::string& option) const;
  std::string ValueOr(const std::string& option, const std::string& fallback) const;
  // Every value of a repeatable option, in command-line order.
  std::vector<std::string> Values(const std::string& option) const;
  // Integer and real options; a malformed number is a UsageError.
  std::optional<long long> Int(const std::string& option) const;
  std::optional<double> Real(const std::string& option) const;
  // A page number option counted from first (0 or 1, as the command's help
  // says); a number below first or beyond an int is a UsageError that says
  // how the command counts.
  std::optional<int> Page(const std::string& option, int first) const;
  // A UsageError when output names the input file, also through another path
  // (writing it would destroy the input before it is read).
  static void RefuseSameFile(const std::string& input, const std::string& output);

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> values_;
  std::map<std::string, std::vector<std::string>> repeated_;
  std::set<std::string> flags_;
};

}  // namespace orvella::cli
