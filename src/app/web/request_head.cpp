#include "app/web/request_head.h"

#include <strings.h>

namespace orvella::web {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<std::uint64_t> Digits(std::string_view text) {
  constexpr std::size_t kMaxDigits = 18;  // far beyond any body taken, within 64 bits
  if (text.empty() || text.size() > kMaxDigits) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

}  // namespace

void RequestHead::Add(std::string_view bytes) {
  if (complete_) {
    received_.append(bytes.substr(0, BodyMissing()));
    return;
  }
  if (refused_) return;
  received_.append(bytes);
  ScanLines();
}

std::size_t RequestHead::BodyMissing() const {
  const std::uint64_t whole = headSize_ + bodyLength_;
  return complete_ && received_.size() < whole ? static_cast<std::size_t>(whole - received_.size()) : 0;
}

std::size_t RequestHead::Room() const {
  // One byte beyond the bound shows that a head went past it.
  return Done() || received_.size() > limits_.maxHead ? 0 : limits_.maxHead + 1 - received_.size();
}

void RequestHead::ScanLines() {
  while (!Done()) {
    const std::size_t end = received_.find('\n', scanned_);
    if (end == std::string::npos) {
      // An unfinished line is refused as soon as it is too long, not when
      // (if ever) its end comes.
      if (received_.size() - scanned_ > limits_.maxLine + 1) {
        CheckLine(std::string_view(received_).substr(scanned_));
      } else if (received_.size() > limits_.maxHead) {
        Refuse(431, "the request's head is longer than " + std::to_string(limits_.maxHead) + " bytes");
      }
      return;
    }
    std::string_view line = std::string_view(received_).substr(scanned_, end - scanned_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    scanned_ = end + 1;
    if (scanned_ > limits_.maxHead) {
      Refuse(431, "the request's head is longer than " + std::to_string(limits_.maxHead) + " bytes");
    } else if (!line.empty()) {
      CheckLine(line);
    } else if (lines_ == 0) {
      Refuse(400, "the request line is missing");
    } else {
      headSize_ = scanned_;
      bodyLength_ = contentLength_.value_or(0);
      complete_ = true;
    }
  }
}

void RequestHead::CheckLine(std::string_view line) {
  if (line.size() > limits_.maxLine) {
    if (lines_ == 0)
      return Refuse(414, "the request line is longer than " + std::to_string(limits_.maxLine) + " bytes");
    return Refuse(431, "a header line is longer than " + std::to_string(limits_.maxLine) + " bytes");
  }
  if (lines_++ > 0) CheckField(line);
}

void RequestHead::CheckField(std::string_view line) {
  if (lines_ - 1 > limits_.maxFields)
    return Refuse(431, "the request has more than " + std::to_string(limits_.maxFields) + " header fields");
  if (line.front() == ' ' || line.front() == '\t')
    return Refuse(400, "a header line is folded (it begins with a blank)");
  const std::size_t colon = line.find(':');
  const std::string_view name = line.substr(0, colon);
  if (colon == std::string_view::npos || name.empty() || Trim(name) != name)
    return Refuse(400, "a header line is not NAME: VALUE");
  const std::string_view value = Trim(line.substr(colon + 1));
  const std::string body = std::to_string(limits_.maxBody);
  if (SameName(name, "Transfer-Encoding"))
    return Refuse(411, "a body with Transfer-Encoding (chunked) is not taken: send Content-Length, at most " +
                           body + " bytes");
  if (SameName(name, "Content-Encoding") && !SameName(value, "identity"))
    return Refuse(415, "a compressed body (Content-Encoding) is not taken");
  if (!SameName(name, "Content-Length")) return;
  const auto length = Digits(value);
  if (contentLength_ || !length) return Refuse(400, "Content-Length is not one number");
  if (*length > limits_.maxBody) return Refuse(413, "the body is longer than " + body + " bytes");
  contentLength_ = length;
}

void RequestHead::Refuse(int status, std::string why) {
  if (!refused_) refused_ = Refusal{status, std::move(why)};
}

}  // namespace orvella::web
