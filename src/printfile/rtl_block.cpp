#include "printfile/rtl_block.h"

#include <cctype>
#include <limits>

namespace orvella::printfile {
namespace {

constexpr std::string_view kEnterRtl = "\x1b%0A";

class Cursor {
 public:
  explicit Cursor(std::string_view b) : b_(b) {}
  bool AtEnd() const { return pos_ >= b_.size(); }
  char Peek() const { return b_[pos_]; }
  char Take() { return b_[pos_++]; }
  size_t Pos() const { return pos_; }
  size_t Left() const { return b_.size() - pos_; }
  void Skip(size_t n) { pos_ += n; }

  // A value field: optional sign, digits, optional fraction (dropped).
  // Empty fields are 0, as printers read them.
  bool Value(long long& v) {
    v = 0;
    bool negative = false;
    if (!AtEnd() && (Peek() == '+' || Peek() == '-')) negative = Take() == '-';
    int digits = 0;
    while (!AtEnd() && std::isdigit(static_cast<unsigned char>(Peek()))) {
      if (++digits > 10) return false;
      v = v * 10 + (Take() - '0');
    }
    if (!AtEnd() && Peek() == '.') {
      Take();
      while (!AtEnd() && std::isdigit(static_cast<unsigned char>(Peek()))) Take();
    }
    if (negative) v = -v;
    return true;
  }

 private:
  std::string_view b_;
  size_t pos_ = 0;
};

int ToInt(long long v) {
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace

std::optional<RtlBlockInfo> ReadRtlBlock(std::string_view bytes, std::string& error) {
  if (bytes.substr(0, kEnterRtl.size()) != kEnterRtl) {
    error = "no ESC %0A at the start of the stamp block";
    return std::nullopt;
  }
  RtlBlockInfo info;
  Cursor c(bytes);
  c.Skip(kEnterRtl.size());
  auto fail = [&](const std::string& why) {
    error = why + " at block offset " + std::to_string(c.Pos());
    return std::nullopt;
  };
  // Every command is a parameterised escape: ESC, a parameter character,
  // for "*" a group character, then value/parameter pairs where an
  // upper-case parameter ends the command.
  while (true) {
    if (c.Left() < 2 || c.Take() != '\x1b') return fail("expected an escape sequence");
    const char family = c.Take();
    if (family == '%') {
      long long v;
      if (!c.Value(v) || c.AtEnd() || c.Take() != 'B' || v != 0) return fail("unexpected ESC % command");
      info.size = c.Pos();
      return info;
    }
    if (family != '*' || c.AtEnd()) return fail("unexpected escape sequence");
    const char group = c.Take();
    if (group < 'a' || group > 'z') return fail("unexpected escape group");
    for (bool last = false; !last;) {
      long long v;
      if (!c.Value(v) || c.AtEnd()) return fail("malformed escape value");
      const char param = c.Take();
      last = param >= 'A' && param <= 'Z';
      const char p = static_cast<char>(std::tolower(static_cast<unsigned char>(param)));
      if (p < 'a' || p > 'z') return fail("malformed escape parameter");
      if (group == 'b' && p == 'w') {
        if (v < 0 || static_cast<unsigned long long>(v) > c.Left()) return fail("row data runs past the end");
        c.Skip(static_cast<size_t>(v));
        ++info.rows;
        info.dataBytes += static_cast<uint64_t>(v);
      } else if (group == 't' && p == 'r') {
        info.resolution = ToInt(v);
      } else if (group == 'r' && p == 's') {
        info.width = ToInt(v);
      } else if (group == 'r' && p == 't') {
        info.height = ToInt(v);
      } else if (group == 'p' && p == 'x') {
        info.x = ToInt(v);
      } else if (group == 'p' && p == 'y') {
        info.y = ToInt(v);
      } else if (group == 'b' && p == 'm') {
        info.compression = ToInt(v);
      }
    }
  }
}

}  // namespace orvella::printfile
