#pragma once
// The JSON input of a command (a request or options file) read into typed
// fields. A key left out keeps the field's value; a value of the wrong type,
// or a key nobody asked for, is an error naming the key, so a typing mistake
// in the file never silently falls back to a default.
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>

namespace orvella::cli {

struct JsonInputError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The JSON object held by the file at path; JsonInputError when the file
// cannot be read or holds anything else.
nlohmann::json ReadJsonObjectFile(const std::string& path);

class JsonFields {
 public:
  // where names the object in messages ("request", "stamp 2"); JsonInputError
  // when value is no object.
  JsonFields(const nlohmann::json& value, std::string where);

  // A whole number within int's range; true and false read as 1 and 0.
  void Int(const char* key, int& out);
  void Flag(const char* key, bool& out);  // as Int, non-zero is true
  void Real(const char* key, double& out);
  void Text(const char* key, std::string& out);
  // The value of a key the caller reads itself, or nullptr when left out.
  const nlohmann::json* Find(const char* key);
  // A JsonInputError about key in this object, for the caller's own checks.
  JsonInputError Error(const char* key, const std::string& problem) const;
  // JsonInputError at the first key that none of the calls above asked for.
  void RejectUnknown() const;

 private:
  const nlohmann::json& object_;
  std::string where_;
  std::set<std::string> known_;
};

}  // namespace orvella::cli
