#pragma once
// Text on disk is CP932 (Shift_JIS with the Windows extensions); text in
// memory is UTF-8. Conversion happens at the file boundary only.
#include <optional>
#include <string>
#include <string_view>

namespace orvella::base {

// UTF-8 to CP932; nullopt when the text holds a character CP932 lacks or is
// not valid UTF-8.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// CP932 to UTF-8; bytes that are not valid CP932 become U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// Length of the text in CP932 bytes ("half-width characters"); nullopt when
// CP932 cannot hold it.
std::optional<size_t> Cp932Length(std::string_view utf8);

// True when byte b opens a two-byte CP932 character.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Cuts CP932 text to at most maxBytes without leaving half a character.
std::string_view TruncateCp932(std::string_view cp932, size_t maxBytes);

// Length in bytes of the UTF-8 character that starts at bytes[at] (1 for
// ASCII); 0 when the bytes there do not form one. at must be inside bytes.
size_t Utf8SequenceLength(std::string_view bytes, size_t at);

// True when bytes hold characters beyond ASCII and all of them form valid
// UTF-8: a file written as UTF-8 where CP932 belongs (Japanese CP932 text is
// almost never valid UTF-8).
bool LooksLikeUtf8(std::string_view bytes);

// Removes leading and trailing ASCII spaces and full-width spaces (U+3000).
std::string TrimNameBlanks(std::string_view utf8);

}  // namespace orvella::base
