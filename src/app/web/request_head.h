#pragma once
// The head of one request (request line and header fields) checked as its
// bytes arrive, before the HTTP library sees any of it: the library buffers a
// line until its end however long it is, and reads a chunked or compressed
// body without the page's size limit. Here a line, the whole head and the
// body each have a bound, and a request that would pass one is refused while
// the bytes held are still few.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvella::web {

// In bytes, but for maxFields.
struct HeadLimits {
  std::size_t maxLine;
  std::size_t maxHead;
  std::size_t maxFields;
  std::size_t maxBody;
};

// What the page answers a refused request: an HTTP status and why, in plain
// English.
struct Refusal {
  int status = 400;
  std::string why;
};

class RequestHead {
 public:
  explicit RequestHead(const HeadLimits& limits) : limits_(limits) {}

  // Takes the next bytes received. Bytes past the end of the head are the
  // start of the body and are kept with it; once complete, what is added is
  // more of the body (at most BodyMissing()).
  void Add(std::string_view bytes);
  // The head has ended (an empty line) and passed every check.
  bool Complete() const { return complete_; }
  const std::optional<Refusal>& Refused() const { return refused_; }
  // Nothing more can change the verdict: complete or refused.
  bool Done() const { return complete_ || refused_.has_value(); }
  // How much more may be received now without passing the head's bound.
  std::size_t Room() const;
  // Once complete: how many bytes of the declared body have yet to come.
  std::size_t BodyMissing() const;

  // Once complete: every byte received, the head first.
  const std::string& Received() const { return received_; }
  std::size_t HeadSize() const { return headSize_; }
  // The length the request declares for its body (0 without one).
  std::uint64_t BodyLength() const { return bodyLength_; }

 private:
  void ScanLines();
  void CheckLine(std::string_view line);
  void CheckField(std::string_view line);
  void Refuse(int status, std::string why);

  HeadLimits limits_;
  std::string received_;
  std::size_t scanned_ = 0;  // received_ up to here is whole lines, checked
  std::size_t lines_ = 0;
  std::size_t headSize_ = 0;
  bool complete_ = false;
  std::optional<Refusal> refused_;
  std::optional<std::uint64_t> contentLength_;
  std::uint64_t bodyLength_ = 0;
};

}  // namespace orvella::web
