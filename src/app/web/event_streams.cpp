#include "app/web/event_streams.h"

#include "app/web/board_json.h"
#include "app/web/http_reply.h"

namespace orvella::web {
namespace {

using namespace std::chrono_literals;

constexpr auto kPollInterval = 200ms;
// A comment line now and then, so that proxies keep the stream and a client
// that went away is noticed.
constexpr auto kKeepAlive = 15s;

std::string Event(const char* name, const Json& data) {
  return std::string("event: ") + name +
         "\ndata: " + data.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n\n";
}

}  // namespace

struct EventStreams::Stream {
  explicit Stream(std::atomic<std::size_t>& open) : open_(open) {}
  ~Stream() { --open_; }
  std::atomic<std::size_t>& open_;
  std::shared_ptr<const BoardSnapshot> seen;  // what the client has
};

void EventStreams::Handle(const httplib::Request& req, httplib::Response& res) {
  if (req.method == "HEAD") {
    res.set_header("Cache-Control", "no-store");
    res.set_content("", "text/event-stream");
    return;
  }
  {
    std::lock_guard lock(closeMutex_);
    if (closing_) return ReplyError(res, 503, "the service is shutting down");
  }
  if (++open_ > maxStreams_) {
    --open_;
    res.set_header("Retry-After", "10");
    return ReplyError(res, 503,
                      "too many event streams are open (at most " + std::to_string(maxStreams_) + ")");
  }
  auto stream = std::make_shared<Stream>(open_);
  res.set_header("Cache-Control", "no-store");
  res.set_header("X-Accel-Buffering", "no");
  res.set_chunked_content_provider("text/event-stream", [this, stream](std::size_t, httplib::DataSink& sink) {
    return Provide(*stream, sink);
  });
}

bool EventStreams::Provide(Stream& stream, httplib::DataSink& sink) {
  std::string out;
  if (!stream.seen) {
    stream.seen = board_.Snapshot();
    out = "retry: 2000\n" +
          Event("snapshot", Json{{"state", StateJson(stream.seen->state)}, {"rows", RowsJson(*stream.seen)}});
  } else {
    bool open = true;
    auto now = board_.Snapshot();
    for (auto waited = 0ms; open && now->version == stream.seen->version && waited < kKeepAlive;
         waited += kPollInterval) {
      open = Wait(kPollInterval);
      now = board_.Snapshot();
    }
    const std::uint64_t since = stream.seen->version;
    for (const auto& row : now->rows)
      if (row->revision > since) out += Event("row", RowJson(*row));
    if (now->stateRevision > since) out += Event("state", StateJson(now->state));
    stream.seen = std::move(now);
    // What changed last still reaches the client before the stream ends.
    if (!open) {
      if (!out.empty()) sink.write(out.data(), out.size());
      sink.done();
      return true;
    }
    if (out.empty()) out = ": keep-alive\n\n";
  }
  return sink.write(out.data(), out.size()) && sink.is_writable();
}

bool EventStreams::Wait(std::chrono::milliseconds interval) {
  std::unique_lock lock(closeMutex_);
  return !closed_.wait_for(lock, interval, [this] { return closing_; });
}

void EventStreams::Close() {
  {
    std::lock_guard lock(closeMutex_);
    closing_ = true;
  }
  closed_.notify_all();
}

}  // namespace orvella::web
