#include "app/web/http_token.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "base/file_io.h"
#include "settings/program_folders.h"

namespace orvella::web {

std::filesystem::path HttpTokenPath(const std::filesystem::path& program) {
  return settings::TempFolder(program) / "http-token";
}

std::string CreateHttpToken(const std::filesystem::path& program) {
  std::array<unsigned char, 32> bytes{};
  if (::getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
    throw std::runtime_error(std::string("getrandom: ") + std::strerror(errno));
  static constexpr char kHex[] = "0123456789abcdef";
  std::string token;
  for (const unsigned char b : bytes) {
    token += kHex[b >> 4];
    token += kHex[b & 15];
  }
  const std::filesystem::path path = HttpTokenPath(program);
  if (!base::ReplaceFileAtomically(path, token + "\n", 0600))
    throw std::runtime_error("cannot write " + path.string());
  return token;
}

bool TokenMatches(std::string_view expected, std::string_view given) {
  unsigned char differ = expected.size() == given.size() ? 0 : 1;
  for (std::size_t i = 0; i < expected.size(); ++i)
    differ |= static_cast<unsigned char>(expected[i] ^ (i < given.size() ? given[i] : 0));
  return differ == 0 && !expected.empty();
}

}  // namespace orvella::web
