#pragma once
// Typed access to one private-profile (INI) file.
//
// Semantics: section and key names match without regard to ASCII letter
// case; the first occurrence of a section or key is the one read and
// replaced; blanks around a value are removed, then one pair of enclosing
// double quotes; at most 1023 bytes (CP932) come back. Writing replaces a
// key in place, appends it at the end of its section, or appends the
// section at the end of the file. Values are written between double quotes.
// Files are CP932 on disk, UTF-8 in memory. Every change is written to a new
// file beside the old one and renamed into place, so a crash never leaves a
// torn file, and under the lock of the file's folder, so writers in other
// threads and processes lose none of each other's keys.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvella::settings {

class IniDocument;
class SettingsFolderLock;

// Reads typed values; subclasses decide where the raw values come from.
class IniReader {
 public:
  virtual ~IniReader() = default;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  int ReadInt(std::string_view section, std::string_view key, int def) const;
  double ReadDouble(std::string_view section, std::string_view key, double def) const;
  // 1 for TRUE, 0 for FALSE (any letter case); anything else gives def.
  int ReadBool(std::string_view section, std::string_view key, int def) const;
  // Bytes ReadBinary delivers: half the stored length, 0 when odd or missing.
  size_t BinarySize(std::string_view section, std::string_view key) const;
  // Stores BinarySize bytes into dest; nothing when the stored length is odd.
  void ReadBinary(std::string_view section, std::string_view key, uint8_t* dest) const;
  // Profile-struct form: the bytes as hex followed by a checksum byte (sum of
  // the bytes mod 256). False, and dest untouched, for another size or a bad
  // checksum.
  bool ReadStruct(std::string_view section, std::string_view key, void* dest, size_t size) const;

 protected:
  // The stored value as CP932 bytes: trimmed, quotes removed, cut to 1023
  // bytes. nullopt when the file, section or key is missing.
  virtual std::optional<std::string> Lookup(std::string_view section, std::string_view key) const = 0;
};

// Writes typed values through one primitive.
class IniWriter {
 public:
  virtual ~IniWriter() = default;

  // Raises SettingsError with the key write error text on failure.
  virtual void WriteString(std::string_view section, std::string_view key, std::string_view text) = 0;
  void WriteInt(std::string_view section, std::string_view key, int value);
  void WriteDouble(std::string_view section, std::string_view key, double value);
  // "TRUE" for 1, "FALSE" for anything else.
  void WriteBool(std::string_view section, std::string_view key, int value);
  void WriteBinary(std::string_view section, std::string_view key, const uint8_t* bytes, size_t length);
  void WriteStruct(std::string_view section, std::string_view key, const void* data, size_t size);
};

// One INI file on disk. Each operation is a self-contained access.
class IniFile : public IniReader, public IniWriter {
 public:
  // A file of the program folder: relative is "/INI/INPUT.INI" and so on.
  // Raises SettingsError "GetExecutableDirectory()に失敗しました" when the
  // program folder is empty (unknown).
  IniFile(const std::filesystem::path& program, const std::string& relative);
  // Any file; used by tools and tests.
  static IniFile AtPath(std::filesystem::path path);

  const std::filesystem::path& Path() const { return path_; }
  // Permission bits a newly created file gets (before umask); 0644 unless set.
  void SetCreateMode(mode_t mode) { createMode_ = mode; }
  mode_t CreateMode() const { return createMode_; }

  void WriteString(std::string_view section, std::string_view key, std::string_view text) override;
  // Removes the file; a missing file is not an error.
  void Delete() const;

 protected:
  std::optional<std::string> Lookup(std::string_view section, std::string_view key) const override;

 private:
  IniFile() = default;
  std::filesystem::path path_;
  mode_t createMode_ = 0644;
};

// The whole file read once, for loading a list without re-reading the file
// for every key.
class IniSnapshot : public IniReader {
 public:
  // A missing file reads as empty. A file that exists but cannot be read
  // raises SettingsError: taking it for empty would let the next save of the
  // list wipe its records.
  explicit IniSnapshot(const IniFile& file);
  ~IniSnapshot() override;

 protected:
  std::optional<std::string> Lookup(std::string_view section, std::string_view key) const override;

 private:
  std::unique_ptr<IniDocument> doc_;
};

// The save procedure: the file ends up holding exactly the keys written, in
// the order written. Keys are collected in memory and Commit replaces the
// file in one rename (under the lock of its folder), so a failed save leaves
// the previous file as it was.
class IniSave : public IniWriter {
 public:
  explicit IniSave(const IniFile& file);
  ~IniSave() override;

  void WriteString(std::string_view section, std::string_view key, std::string_view text) override;
  // Raises the key write error (naming the last key written) on failure.
  void Commit();

 private:
  const IniFile& file_;
  std::unique_ptr<IniDocument> doc_;
  std::string lastSection_, lastKey_;
};

// Several keys of an existing file changed in one replacement, so a reader
// sees all of them or none (a record kept as a group of keys).
class IniBatch : public IniWriter {
 public:
  explicit IniBatch(const IniFile& file) : file_(file) {}

  // Queues the key; an unstorable value raises the key write error at once.
  void WriteString(std::string_view section, std::string_view key, std::string_view text) override;
  // Applies the queued keys to the file's current content, under the lock of
  // the file's folder. Raises the key write error (naming the first queued
  // key) on failure; the file is then unchanged.
  void Commit();
  // The same for a caller that already holds that lock (a record kept in
  // more than one file).
  void Commit(const SettingsFolderLock& held);

 private:
  struct Key {
    std::string section, key, quotedValue;
  };
  const IniFile& file_;
  std::vector<Key> keys_;
};

// The count of a list file ("GLOBAL" section, key such as "NUM_INPUTS"):
// below 1 gives 0; a count beyond kMaxListRecords is cut there, so a
// damaged file cannot make a loader build billions of default records.
constexpr int kMaxListRecords = 10000;
int ReadListCount(const IniReader& ini, std::string_view countKey);
// The same for a list kept inside one section (NUM_FOLDTYPES).
int ReadListCount(const IniReader& ini, std::string_view section, std::string_view countKey);

// True when text written with WriteString reads back from ReadString byte
// for byte: CP932 holds every character, it has no line break, and it fits
// the 1023-byte value.
bool IniCanHold(std::string_view text);

// "INIファイルのキー書き込みに失敗しました。[file_name]...[section]...[key]..."
std::string KeyWriteErrorText(const std::filesystem::path& file, std::string_view section,
                              std::string_view key);

// "INIファイルの読み込みに失敗しました。[file_name]..."
std::string ReadErrorText(const std::filesystem::path& file);

// Text forms shared by the writers and by tools that show stored values.
std::string FormatIniReal(double value);
// Leading decimal integer (blanks skipped, optional sign); no digits gives 0.
int ParseIniInt(std::string_view text);
// Leading decimal real (blanks skipped, optional sign, point, exponent);
// nothing convertible gives 0.
double ParseIniReal(std::string_view text);

}  // namespace orvella::settings
