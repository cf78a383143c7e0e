#pragma once
// Reversible cipher for the printer login password kept in PRINTER.INI.
// Not a secret-keeping scheme: the key is fixed in every copy of the program
// (stored files must keep reading) and each 8-byte block is enciphered alone,
// so a reader of the file recovers the password and sees its length class. It
// keeps the password out of plain sight; the file's mode (0600) keeps it.
#include <string>
#include <string_view>

#include "settings/blowfish.h"

namespace orvella::settings {

class PasswordCipher {
 public:
  PasswordCipher();

  // The first 32 bytes of the password, zero-filled, enciphered and written
  // as 64 letters of "XYZWFGHJKLMNPQRS".
  std::string Encrypt(std::string_view password) const;
  // The inverse; text that is not 64 letters of the alphabet gives "".
  std::string Decrypt(std::string_view text) const;

 private:
  Blowfish cipher_;
};

}  // namespace orvella::settings
