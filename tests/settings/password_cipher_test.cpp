#include "settings/password_cipher.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "settings/blowfish.h"

namespace orvella::settings {
namespace {

// Published Blowfish test vectors (key, plaintext, ciphertext; big-endian halves).
TEST(Blowfish, PublishedVectors) {
  struct Vector {
    uint64_t key, plain, cipher;
  };
  const Vector vectors[] = {
      {0x0000000000000000, 0x0000000000000000, 0x4EF997456198DD78},
      {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFFFFFFFFFF, 0x51866FD5B85ECB8A},
      {0x3000000000000000, 0x1000000000000001, 0x7D856F9A613063F2},
      {0x0123456789ABCDEF, 0x1111111111111111, 0x61F9C3802281B096},
      {0xFEDCBA9876543210, 0x0123456789ABCDEF, 0x0ACEAB0FC6A0A28D},
      {0x7CA110454A1A6E57, 0x01A1D6D039776742, 0x59C68245EB05282B},
  };
  for (const auto& v : vectors) {
    uint8_t key[8];
    for (int i = 0; i < 8; ++i) key[i] = static_cast<uint8_t>(v.key >> (56 - 8 * i));
    Blowfish bf(key);
    uint32_t l = static_cast<uint32_t>(v.plain >> 32), r = static_cast<uint32_t>(v.plain);
    bf.Encrypt(l, r);
    EXPECT_EQ((static_cast<uint64_t>(l) << 32) | r, v.cipher);
    bf.Decrypt(l, r);
    EXPECT_EQ((static_cast<uint64_t>(l) << 32) | r, v.plain);
  }
}

// Published vectors for keys of 1 to 24 bytes (plaintext FEDCBA9876543210):
// the key schedule takes the key cyclically, as it takes the 32-byte key of
// the password cipher.
TEST(Blowfish, PublishedVariableLengthKeyVectors) {
  const uint8_t key[24] = {0xF0, 0xE1, 0xD2, 0xC3, 0xB4, 0xA5, 0x96, 0x87, 0x78, 0x69, 0x5A, 0x4B,
                           0x3C, 0x2D, 0x1E, 0x0F, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
  const struct {
    size_t keyBytes;
    uint64_t cipher;
  } vectors[] = {
      {1, 0xF9AD597C49DB005E},  {3, 0xE9C2B70A1BC65CF3},  {8, 0xE87A244E2CC85E82},
      {17, 0x03429E838CE2D14B}, {24, 0x05044B62FA52D080},
  };
  for (const auto& v : vectors) {
    Blowfish bf(std::span<const uint8_t>(key, v.keyBytes));
    uint32_t l = 0xFEDCBA98, r = 0x76543210;
    bf.Encrypt(l, r);
    EXPECT_EQ((static_cast<uint64_t>(l) << 32) | r, v.cipher) << v.keyBytes << "-byte key";
  }
}

// PRINTER.INI files in use hold these texts: any change of the key, the byte
// order of the blocks, the mode or the alphabet must fail here.
TEST(PasswordCipher, KnownAnswers) {
  const struct {
    std::string password;  // bytes as stored (CP932)
    std::string text;
  } answers[] = {
      {"", "YSLMGZJHHRXQKNPNYSLMGZJHHRXQKNPNYSLMGZJHHRXQKNPNYSLMGZJHHRXQKNPN"},
      {"secret", "WGKNRZHHYFXKPLYQYSLMGZJHHRXQKNPNYSLMGZJHHRXQKNPNYSLMGZJHHRXQKNPN"},
      {"0123456789abcdefghijklmnopqrstuv",
       "GPRPXFWPGRNHLYMMXXGJKGKHPLPYNRWGYSFHQWPLNFWMWPKZPXZSFQPRWXPXQKQK"},
      {"\x94\xE9\x96\xA7pw", "NPPWJPJPGJWJLNQPYSLMGZJHHRXQKNPNYSLMGZJHHRXQKNPNYSLMGZJHHRXQKNPN"},  // 秘密pw
  };
  const PasswordCipher cipher;
  for (const auto& a : answers) {
    EXPECT_EQ(cipher.Encrypt(a.password), a.text) << a.password;
    EXPECT_EQ(cipher.Decrypt(a.text), a.password) << a.text;
  }
}

TEST(PasswordCipher, RoundTripsAndShape) {
  PasswordCipher cipher;
  const std::string empty = cipher.Encrypt("");
  ASSERT_EQ(empty.size(), 64u);
  EXPECT_EQ(empty.find_first_not_of("XYZWFGHJKLMNPQRS"), std::string::npos);
  EXPECT_EQ(empty.substr(0, 16), empty.substr(16, 16));  // four equal zero blocks
  EXPECT_EQ(cipher.Decrypt(empty), "");

  EXPECT_EQ(cipher.Decrypt(cipher.Encrypt("secret")), "secret");
  const std::string forty = "0123456789012345678901234567890123456789";
  EXPECT_EQ(cipher.Decrypt(cipher.Encrypt(forty)), forty.substr(0, 32));
  EXPECT_EQ(PasswordCipher().Encrypt("secret"), cipher.Encrypt("secret"));  // same key every run

  EXPECT_EQ(cipher.Decrypt("not a cipher text"), "");
  EXPECT_EQ(cipher.Decrypt(std::string(64, 'A')), "");
}

}  // namespace
}  // namespace orvella::settings
