#include "settings/password_cipher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace orvella::settings {
namespace {

constexpr size_t kArea = 32;
constexpr std::string_view kAlphabet = "XYZWFGHJKLMNPQRS";

// The same key for every installation; stored files depend on it.
std::string CipherKey() {
  static constexpr const char* kPieces[4] = {"Orv3lla!", "Kp7#qZ2m", "hotF0ldr", "Pr1ntSv9"};
  std::string key;
  for (const char* piece : kPieces) key += piece;
  return key;
}

std::span<const uint8_t> KeyBytes() {
  static const std::string key = CipherKey();
  return {reinterpret_cast<const uint8_t*>(key.data()), key.size()};
}

uint32_t LoadLe(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void StoreLe(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

PasswordCipher::PasswordCipher() : cipher_(KeyBytes()) {}

std::string PasswordCipher::Encrypt(std::string_view password) const {
  std::array<uint8_t, kArea> area{};
  std::memcpy(area.data(), password.data(), std::min(password.size(), kArea));
  for (size_t b = 0; b < kArea; b += 8) {
    uint32_t l = LoadLe(&area[b]), r = LoadLe(&area[b + 4]);
    cipher_.Encrypt(l, r);
    StoreLe(&area[b], l);
    StoreLe(&area[b + 4], r);
  }
  std::string out;
  for (uint8_t byte : area) {
    out += kAlphabet[byte >> 4];
    out += kAlphabet[byte & 0x0F];
  }
  return out;
}

std::string PasswordCipher::Decrypt(std::string_view text) const {
  if (text.size() != 2 * kArea) return {};
  std::array<uint8_t, kArea> area{};
  for (size_t i = 0; i < kArea; ++i) {
    size_t hi = kAlphabet.find(text[2 * i]), lo = kAlphabet.find(text[2 * i + 1]);
    if (hi == std::string_view::npos || lo == std::string_view::npos) return {};
    area[i] = static_cast<uint8_t>(hi << 4 | lo);
  }
  for (size_t b = 0; b < kArea; b += 8) {
    uint32_t l = LoadLe(&area[b]), r = LoadLe(&area[b + 4]);
    cipher_.Decrypt(l, r);
    StoreLe(&area[b], l);
    StoreLe(&area[b + 4], r);
  }
  size_t len = 0;
  while (len < kArea && area[len] != 0) ++len;
  return std::string(reinterpret_cast<const char*>(area.data()), len);
}

}  // namespace orvella::settings
