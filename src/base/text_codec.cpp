#include "base/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace orvella::base {
namespace {

// iconv descriptors are not thread-safe; each thread keeps its own pair.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv_open failed: ") + from);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts in; on an invalid sequence calls onInvalid (which may append a
  // replacement and returns false to give up) and skips one byte.
  template <typename OnInvalid>
  bool Run(std::string_view in, std::string& out, OnInvalid onInvalid) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      size_t dstLeft = sizeof buf;
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a truncated sequence at the end)
      if (!onInvalid(out)) return false;
      ++src;
      --srcLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out.append(buf, static_cast<size_t>(dst - buf));
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToCp932() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}

Converter& FromCp932() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

bool IsAscii(std::string_view s) {
  for (unsigned char ch : s)
    if (ch >= 0x80) return false;
  return true;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  if (!ToCp932().Run(utf8, out, [](std::string&) { return false; })) return std::nullopt;
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  std::string out;
  FromCp932().Run(cp932, out, [](std::string& o) {
    o += "\xEF\xBF\xBD";
    return true;
  });
  return out;
}

std::optional<size_t> Cp932Length(std::string_view utf8) {
  auto converted = Utf8ToCp932(utf8);
  if (!converted) return std::nullopt;
  return converted->size();
}

std::string_view TruncateCp932(std::string_view cp932, size_t maxBytes) {
  if (cp932.size() <= maxBytes) return cp932;
  size_t i = 0;
  while (i < maxBytes) {
    size_t step = IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
    if (i + step > maxBytes) break;
    i += step;
  }
  return cp932.substr(0, i);
}

std::string TrimNameBlanks(std::string_view utf8) {
  static constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
  for (;;) {
    if (!utf8.empty() && utf8.front() == ' ') {
      utf8.remove_prefix(1);
    } else if (utf8.substr(0, 3) == kIdeographicSpace) {
      utf8.remove_prefix(3);
    } else {
      break;
    }
  }
  for (;;) {
    if (!utf8.empty() && utf8.back() == ' ') {
      utf8.remove_suffix(1);
    } else if (utf8.size() >= 3 && utf8.substr(utf8.size() - 3) == kIdeographicSpace) {
      utf8.remove_suffix(3);
    } else {
      break;
    }
  }
  return std::string(utf8);
}

size_t Utf8SequenceLength(std::string_view bytes, size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return 1;
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  if (length == 0 || at + length > bytes.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(bytes[at + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

bool LooksLikeUtf8(std::string_view bytes) {
  bool beyondAscii = false;
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    beyondAscii = beyondAscii || length > 1;
    i += length;
  }
  return beyondAscii;
}

}  // namespace orvella::base
