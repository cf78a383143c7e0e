#include "printfile/plot_rewrite.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "printfile/plot_stream.h"

namespace orvella::printfile {
namespace {

// Only this many bytes of the plot (after removals) are looked at for set-up
// commands.
constexpr uint64_t kSetUpWindow = 200;
// Page ends are removed from this many bytes before the last non-zero byte.
constexpr size_t kTailWindow = 8;

bool IsParameter(int c) { return (c >= '0' && c <= '9') || c == ',' || c == '-' || c == '.' || c == ';'; }

bool IsSetUpCommand(std::string_view pair) {
  static constexpr std::array<std::string_view, 7> kCommands = {"DF", "IN", "BP", "PS", "IP", "SC", "RO"};
  for (const auto command : kCommands) {
    if (pair == command) return true;
  }
  return false;
}

// Passes the bytes on, holding back the last non-zero byte with the bytes
// before it and the zeros after it, so that the page ends there can be
// removed once the end of the plot is known.
class TailFilter {
 public:
  explicit TailFilter(PlotWriter& writer) : writer_(writer) {}

  void Put(std::string_view bytes) {
    const size_t last = bytes.find_last_not_of('\0');
    if (last == std::string_view::npos) {
      zeros_ += bytes.size();
      return;
    }
    if (last < kTailWindow) {
      for (const char byte : bytes.substr(0, last + 1)) Put(byte);
    } else {
      // Everything up to the last non-zero byte's window leaves at once.
      writer_.Write(held_);
      writer_.WriteZeros(zeros_);
      writer_.Write(bytes.substr(0, last - kTailWindow));
      held_.assign(bytes.substr(last - kTailWindow, kTailWindow + 1));
    }
    zeros_ = bytes.size() - last - 1;
  }

  void Put(char byte) {
    if (byte == 0) {
      ++zeros_;
      return;
    }
    // Of the held bytes, the zeros and this byte, hold back the last
    // kTailWindow + 1 and pass the rest on.
    if (zeros_ >= kTailWindow) {
      writer_.Write(held_);
      writer_.WriteZeros(zeros_ - kTailWindow);
      held_.assign(kTailWindow, '\0');
    } else {
      held_.append(zeros_, '\0');
    }
    held_.push_back(byte);
    zeros_ = 0;
    if (held_.size() > kTailWindow + 1) {
      const size_t excess = held_.size() - (kTailWindow + 1);
      writer_.Write(std::string_view(held_).substr(0, excess));
      held_.erase(0, excess);
    }
  }

  void Finish() {
    for (size_t at = 0; at + 1 < held_.size();) {
      if (held_[at] == 'P' && held_[at + 1] == 'G') {
        size_t end = at + 2;
        while (end < held_.size() && IsParameter(static_cast<unsigned char>(held_[end]))) ++end;
        held_.erase(at, end - at);
      } else {
        ++at;
      }
    }
    writer_.Write(held_);
    writer_.WriteZeros(zeros_);
  }

 private:
  PlotWriter& writer_;
  std::string held_;
  uint64_t zeros_ = 0;
};

// The length of a set-up command or enter sequence at the reader, 0 when
// there is none.
size_t SetUpLength(PlotReader& reader) {
  const std::string_view next = reader.Peek(5);
  if (next == "\x1b%-1B") return 5;
  if (next.substr(0, 4) == "\x1b%0B") return 4;
  if (next.size() < 2 || !IsSetUpCommand(next.substr(0, 2))) return 0;
  return 2;
}

}  // namespace

std::string PlotPrefix(const PlotScan& scan, int copies) {
  const char* format = "\x1b%%0BBP2,%d;INIP%d,%d,%d,%d;SC%d,%d,%d,%d;RO%d;PA0,0;";
  const int length =
      std::snprintf(nullptr, 0, format, copies, scan.p1x, scan.p1y, scan.p2x, scan.p2y, scan.scaleXMin,
                    scan.scaleXMax, scan.scaleYMin, scan.scaleYMax, scan.rotation);
  std::string prefix(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(prefix.data(), prefix.size(), format, copies, scan.p1x, scan.p1y, scan.p2x, scan.p2y,
                scan.scaleXMin, scan.scaleXMax, scan.scaleYMin, scan.scaleYMax, scan.rotation);
  prefix.pop_back();
  return prefix;
}

bool RewritePlot(const std::filesystem::path& plot, const std::filesystem::path& output, const PlotScan& scan,
                 int copies, std::string* detail) {
  PlotReader reader(plot);
  PlotWriter writer(output);
  if (!reader.IsOpen() || !writer.IsOpen()) {
    if (detail) *detail = "cannot open " + (reader.IsOpen() ? output : plot).string();
    return false;
  }
  writer.Write(PlotPrefix(scan, copies));
  TailFilter tail(writer);
  for (uint64_t kept = 0; kept < kSetUpWindow;) {
    const size_t remove = SetUpLength(reader);
    if (remove == 2) {
      reader.Skip(2);
      for (int c = reader.Get(); c != kEndOfPlot; c = reader.Get()) {
        if (!IsParameter(c)) {
          reader.Unget();
          break;
        }
      }
    } else if (remove > 0) {
      reader.Skip(remove);
    } else {
      const int c = reader.Get();
      if (c == kEndOfPlot) break;
      tail.Put(static_cast<char>(c));
      ++kept;
    }
  }
  for (auto chunk = reader.TakeChunk(); !chunk.empty(); chunk = reader.TakeChunk()) tail.Put(chunk);
  tail.Finish();
  const bool written = writer.Close();
  if (reader.Failed() || !written) {
    if (detail) *detail = "cannot rewrite " + plot.string() + " into " + output.string();
    return false;
  }
  return true;
}

}  // namespace orvella::printfile
