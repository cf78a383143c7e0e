// Arbitrary bytes as a plot file for the rewrite. The streamed rewrite must
// give exactly what the same steps give on the whole file in memory.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "printfile/plot_rewrite.h"

namespace {

bool IsParameter(char c) { return (c >= '0' && c <= '9') || c == ',' || c == '-' || c == '.' || c == ';'; }

bool IsSetUp(std::string_view pair) {
  for (const char* command : {"DF", "IN", "BP", "PS", "IP", "SC", "RO"}) {
    if (pair == command) return true;
  }
  return false;
}

size_t RunAfter(const std::string& s, size_t at) {
  while (at < s.size() && IsParameter(s[at])) ++at;
  return at;
}

std::string RewriteInMemory(std::string s) {
  for (size_t at = 0; at < 200 && at < s.size();) {
    const std::string_view rest = std::string_view(s).substr(at);
    if (rest.substr(0, 5) == "\x1b%-1B") {
      s.erase(at, 5);
    } else if (rest.substr(0, 4) == "\x1b%0B") {
      s.erase(at, 4);
    } else if (IsSetUp(rest.substr(0, 2))) {
      s.erase(at, RunAfter(s, at + 2) - at);
    } else {
      ++at;
    }
  }
  const size_t last = s.find_last_not_of('\0');
  if (last != std::string::npos) {
    for (size_t at = last < 8 ? 0 : last - 8; at + 1 < s.size();) {
      if (s[at] == 'P' && s[at + 1] == 'G') {
        s.erase(at, RunAfter(s, at + 2) - at);
      } else {
        ++at;
      }
    }
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace orvella::printfile;
  const auto input = orvella::fuzz::InputFile(data, size);
  const auto output = orvella::fuzz::OutputFile("rewritten.tmp");
  PlotScan scan;
  ScanPlot(input, scan);
  CompletePlotFrame(scan);
  if (!RewritePlot(input, output, scan, 1)) abort();
  std::ifstream in(output, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string expected =
      PlotPrefix(scan, 1) + RewriteInMemory(std::string(reinterpret_cast<const char*>(data), size));
  if (written != expected) abort();
  return 0;
}
