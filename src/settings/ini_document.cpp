#include "settings/ini_document.h"

#include <strings.h>

#include <cctype>

namespace orvella::settings {
namespace {

constexpr size_t npos = static_cast<size_t>(-1);

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string LowerName(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The section name when the line is a header "[name]".
std::optional<std::string_view> HeaderName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// Key and value of a "key=value" line; comments and lines without '=' are none.
bool SplitKeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    std::string_view line =
        bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
}

size_t IniDocument::FindSection(std::string_view section) const {
  // A save writes one section after another: the section last found or made
  // is almost always the one asked for, which keeps a save linear.
  if (cachedHeader_ < lines_.size()) {
    auto name = HeaderName(lines_[cachedHeader_]);
    if (name && SameName(*name, section)) return cachedHeader_;
  }
  if (!indexed_) {
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (auto name = HeaderName(lines_[i])) headers_.try_emplace(LowerName(*name), i);
    }
    indexed_ = true;
  }
  const auto found = headers_.find(LowerName(section));
  return found == headers_.end() ? npos : cachedHeader_ = found->second;
}

size_t IniDocument::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && !HeaderName(lines_[i])) ++i;
  return i;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  size_t header = FindSection(section);
  if (header == npos) return std::nullopt;
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    std::string_view k, v;
    if (!SplitKeyLine(lines_[i], k, v) || !SameName(k, key)) continue;
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return std::string(v);
  }
  return std::nullopt;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view quotedValue) {
  std::string line = std::string(key) + "=" + std::string(quotedValue);
  size_t header = FindSection(section);
  if (header == npos) {
    cachedHeader_ = lines_.size();
    headers_.try_emplace(LowerName(section), cachedHeader_);
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
    return;
  }
  size_t end = SectionEnd(header);
  size_t lastContent = header;
  for (size_t i = header + 1; i < end; ++i) {
    std::string_view k, v;
    if (SplitKeyLine(lines_[i], k, v) && SameName(k, key)) {
      lines_[i] = std::move(line);
      return;
    }
    if (!Trim(lines_[i]).empty()) lastContent = i;
  }
  lines_.insert(lines_.begin() + static_cast<long>(lastContent + 1), std::move(line));
  if (cachedHeader_ > lastContent) ++cachedHeader_;
  if (lastContent + 1 < lines_.size() - 1) {
    for (auto& entry : headers_) {
      if (entry.second > lastContent) ++entry.second;
    }
  }
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const auto& l : lines_) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace orvella::settings
