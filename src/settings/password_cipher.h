#pragma once
// Reversible cipher for the printer login password kept in PRINTER.INI.
// Not a secret-keeping scheme (the key is fixed); it keeps the password out
// of plain sight in the file.
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
