#include "app/web/web_server.h"

#include <httplib.h>

#include <algorithm>
#include <array>

#include "app/web/event_streams.h"
#include "app/web/http_reply.h"
#include "app/web/http_server.h"
#include "app/web/http_token.h"
#include "app/web/page_origin.h"
#include "app/web/web_routes.h"

namespace orvella::web {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMaxPath = 1024;
// Lines, head and body: what one request may hold; all of it must arrive
// within a few seconds of the connection, and one client address may hold
// only a few connections at once.
constexpr HeadLimits kLimits{
    .maxLine = 8 * 1024, .maxHead = 32 * 1024, .maxFields = 100, .maxBody = 16 * 1024};
constexpr auto kArrivalTimeout = 5s;
// A client that reads slowly gives its thread back soon.
constexpr auto kWriteTimeout = 5s;
// Threads beside the ones the event streams may hold.
constexpr std::size_t kRequestThreads = 8;

constexpr std::array<std::string_view, 3> kPostPaths{"/api/start", "/api/stop", "/api/printers/check"};

bool IsPostPath(const std::string& path) {
  return std::find(kPostPaths.begin(), kPostPaths.end(), path) != kPostPaths.end();
}

// A kept drawing is the customer's; the listing of the error records is not.
bool IsDrawingDownload(const std::string& path) {
  return path.starts_with("/api/errors/") && path.ends_with("/file");
}

// An absolute path without "." or ".." segments, backslashes or NULs.
bool PlainPath(const std::string& path) {
  if (path.empty() || path.front() != '/' || path.find('\\') != std::string::npos ||
      path.find('\0') != std::string::npos)
    return false;
  std::size_t start = 1;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string_view segment(path.data() + start, end - start);
    if (segment == "." || segment == "..") return false;
    start = end + 1;
  }
  return true;
}

using HandlerResponse = httplib::Server::HandlerResponse;

HandlerResponse Refused(httplib::Response& res, int status, const std::string& why) {
  ReplyError(res, status, why);
  return HandlerResponse::Handled;
}

// Requests refused before any route sees them.
HandlerResponse Refuse(const httplib::Request& req, httplib::Response& res, const WebServerOptions& options,
                       const PageOrigin& origin) {
  if (!req.has_header("Host")) return Refused(res, 400, "the request has no Host header");
  const std::string host = req.get_header_value("Host");
  if (!origin.HostAllowed(host, req.local_addr))
    return Refused(res, 421,
                   "this page answers only to " + options.address.Text() +
                       ", localhost and the names given with --http-host, not to Host '" + host +
                       "' (a name that leads here from another site is refused)");
  if (req.has_header("Origin") && !PageOrigin::SameOrigin(req.get_header_value("Origin"), host))
    return Refused(res, 403,
                   "a request from another site (Origin '" + req.get_header_value("Origin") +
                       "') is refused: only the page's own http://" + host + " may send one");
  if (req.path.size() > kMaxPath)
    return Refused(res, 414, "the path is longer than " + std::to_string(kMaxPath) + " bytes");
  if (!PlainPath(req.path)) return Refused(res, 400, "the path is not one of this page's");
  const bool post = req.method == "POST";
  const bool postPath = IsPostPath(req.path);
  if (!post && req.method != "GET" && req.method != "HEAD") {
    res.set_header("Allow", postPath ? "POST" : "GET, HEAD");
    return Refused(res, 405, "method " + req.method + " is not served");
  }
  if (post != postPath) {
    res.set_header("Allow", post ? "GET, HEAD" : "POST");
    return Refused(res, 405, post ? "this path is read with GET" : "this path changes something: use POST");
  }
  // What changes something or asks a printer, and the kept drawings, need the
  // token of TEMP/http-token.
  if ((post || IsDrawingDownload(req.path)) &&
      !TokenMatches(options.token, req.get_header_value(kTokenHeader)))
    return Refused(res, 403,
                   std::string(req.has_header(kTokenHeader) ? "the token does not match TEMP/http-token"
                                                            : "the X-Orvella-Token header with the token of "
                                                              "TEMP/http-token is missing") +
                       (post ? ": every POST needs it" : ": downloading a kept drawing needs it"));
  return HandlerResponse::Unhandled;
}

// What the library refused itself, after the front's checks passed, said as
// the front says it.
std::string LibraryRefusal(int status) {
  switch (status) {
    case 404:
      return "nothing is served at this path";
    case 413:
      return "the body is longer than " + std::to_string(kLimits.maxBody) + " bytes";
    case 414:
      return "the request line is too long";
    case 431:
      return "the request's head is too large";
    default:
      return "the request could not be read as HTTP/1.1 (status " + std::to_string(status) + ")";
  }
}

}  // namespace

struct WebServer::Impl {
  Impl(const JobBoard& board, WebServerOptions options)
      : options(std::move(options)),
        events(board, this->options.maxEventStreams),
        routes(board, this->options) {}

  WebServerOptions options;
  HttpServer server{FrontLimits{kLimits, kArrivalTimeout, options.maxConnectionsPerAddress}, kWriteTimeout};
  PageOrigin origin{options.address, options.hosts};
  EventStreams events;
  WebRoutes routes;
};

WebServer::WebServer(const JobBoard& board, WebServerOptions options)
    : impl_(std::make_unique<Impl>(board, std::move(options))) {}

WebServer::~WebServer() { Stop(); }

bool WebServer::Start(std::string& why) {
  HttpServer& server = impl_->server;
  server.set_default_headers(ReplyHeaders());
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    return Refuse(req, res, impl_->options, impl_->origin);
  });
  server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
    std::string what = "unexpected error";
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    ReplyError(res, 500, what);
  });
  server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty()) ReplyError(res, res.status, LibraryRefusal(res.status));
  });
  server.Get("/api/events",
             [this](const httplib::Request& req, httplib::Response& res) { impl_->events.Handle(req, res); });
  impl_->routes.Register(server);

  const ListenAddress& address = impl_->options.address;
  if (!server.Listen(address)) {
    why = "cannot listen on " + address.Text() + " (in use, or not an address of this machine)";
    return false;
  }
  server.Start(impl_->options.maxEventStreams + kRequestThreads);
  return true;
}

void WebServer::Stop() {
  impl_->events.Close();
  impl_->server.Stop();
}

}  // namespace orvella::web
