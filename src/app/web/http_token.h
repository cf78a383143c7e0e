#pragma once
// The token that start and stop from the status page need: a fresh random
// one in TEMP/http-token at every start of the service, readable by its
// owner only.
#include <filesystem>
#include <string>
#include <string_view>

namespace orvella::web {

// The request header that carries it.
inline constexpr const char* kTokenHeader = "X-Orvella-Token";

// Writes a new token (64 hex digits) with mode 0600 and returns it; throws
// std::runtime_error when it cannot.
std::string CreateHttpToken(const std::filesystem::path& program);

std::filesystem::path HttpTokenPath(const std::filesystem::path& program);

// Compares in time independent of where the texts differ.
bool TokenMatches(std::string_view expected, std::string_view given);

}  // namespace orvella::web
