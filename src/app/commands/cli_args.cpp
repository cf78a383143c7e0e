#include "app/commands/cli_args.h"

#include <charconv>
#include <climits>
#include <filesystem>
#include <system_error>

#include "app/commands/command_registry.h"

namespace orvella::cli {

CliArgs::CliArgs(const std::vector<std::string>& args, size_t maxPositional,
                 const std::set<std::string>& valueOptions, const std::set<std::string>& flags,
                 const std::set<std::string>& repeatableOptions) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      const std::string name = a.substr(2);
      if (values_.count(name) || flags_.count(name)) throw UsageError("option " + a + " is given twice");
      if (repeatableOptions.count(name)) {
        if (i + 1 >= args.size()) throw UsageError("option --" + name + " needs a value");
        repeated_[name].push_back(args[++i]);
      } else if (valueOptions.count(name)) {
        if (i + 1 >= args.size()) throw UsageError("option --" + name + " needs a value");
        values_[name] = args[++i];
      } else if (flags.count(name)) {
        flags_.insert(name);
      } else {
        throw UsageError("unknown option " + a);
      }
    } else {
      if (positional_.size() >= maxPositional) throw UsageError("unexpected argument " + a);
      positional_.push_back(a);
    }
  }
}

const std::string& CliArgs::Required(size_t index, const char* what) const {
  if (index >= positional_.size()) throw UsageError(std::string("missing ") + what);
  return positional_[index];
}

std::optional<std::string> CliArgs::Value(const std::string& option) const {
  auto it = values_.find(option);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> CliArgs::Values(const std::string& option) const {
  auto it = repeated_.find(option);
  return it == repeated_.end() ? std::vector<std::string>{} : it->second;
}

std::string CliArgs::ValueOr(const std::string& option, const std::string& fallback) const {
  auto v = Value(option);
  return v ? *v : fallback;
}

std::optional<long long> CliArgs::Int(const std::string& option) const {
  auto v = Value(option);
  if (!v) return std::nullopt;
  long long n = 0;
  const char* end = v->data() + v->size();
  auto [ptr, ec] = std::from_chars(v->data(), end, n);
  if (v->empty() || ec != std::errc() || ptr != end)
    throw UsageError("--" + option + " needs a whole number");
  return n;
}

std::optional<int> CliArgs::Page(const std::string& option, int first) const {
  const auto n = Int(option);
  if (!n) return std::nullopt;
  if (*n < first || *n > INT_MAX) {
    throw UsageError("--" + option + " counts from " + std::to_string(first) + " (the first page is --" +
                     option + " " + std::to_string(first) + "); " + std::to_string(*n) + " is no page");
  }
  return static_cast<int>(*n);
}

std::optional<double> CliArgs::Real(const std::string& option) const {
  auto v = Value(option);
  if (!v) return std::nullopt;
  // from_chars never looks at the process locale.
  double d = 0;
  const char* end = v->data() + v->size();
  auto [ptr, ec] = std::from_chars(v->data(), end, d);
  if (v->empty() || ec != std::errc() || ptr != end) throw UsageError("--" + option + " needs a number");
  return d;
}

void CliArgs::RefuseSameFile(const std::string& input, const std::string& output) {
  std::error_code ec;
  const bool same =
      std::filesystem::equivalent(input, output, ec) ||
      std::filesystem::weakly_canonical(input, ec) == std::filesystem::weakly_canonical(output, ec);
  if (same) throw UsageError("the output " + output + " is the input file");
}

}  // namespace orvella::cli
