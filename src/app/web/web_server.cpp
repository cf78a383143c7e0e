#include "app/web/web_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <array>
#include <thread>

#include "app/web/event_streams.h"
#include "app/web/http_reply.h"
#include "app/web/http_server.h"
#include "app/web/http_token.h"
#include "app/web/web_routes.h"

namespace orvella::web {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMaxPath = 1024;
// Lines, head and body: what one request may hold.
constexpr HeadLimits kLimits{
    .maxLine = 8 * 1024, .maxHead = 32 * 1024, .maxFields = 100, .maxBody = 16 * 1024};
// A client that sends or reads slowly gives its thread back soon.
constexpr auto kReadTimeout = 5s;
constexpr auto kWriteTimeout = 5s;
// Threads beside the ones the event streams may hold.
constexpr std::size_t kRequestThreads = 8;

struct PostPath {
  const char* path;
  bool changesSomething;  // needs the token
};
// The printer check changes nothing; it only asks the printer.
constexpr std::array<PostPath, 3> kPostPaths{
    {{"/api/start", true}, {"/api/stop", true}, {"/api/printers/check", false}}};

const PostPath* FindPostPath(const std::string& path) {
  for (const PostPath& post : kPostPaths)
    if (path == post.path) return &post;
  return nullptr;
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

// Requests refused before any route sees them.
httplib::Server::HandlerResponse Refuse(const httplib::Request& req, httplib::Response& res,
                                        const std::string& token) {
  if (req.path.size() > kMaxPath) {
    ReplyError(res, 414, "the path is longer than " + std::to_string(kMaxPath) + " bytes");
    return httplib::Server::HandlerResponse::Handled;
  }
  if (!PlainPath(req.path)) {
    ReplyError(res, 400, "the path is not one of this page's");
    return httplib::Server::HandlerResponse::Handled;
  }
  const bool post = req.method == "POST";
  const PostPath* postPath = FindPostPath(req.path);
  if (!post && req.method != "GET" && req.method != "HEAD") {
    res.set_header("Allow", postPath ? "POST" : "GET, HEAD");
    ReplyError(res, 405, "method " + req.method + " is not served");
    return httplib::Server::HandlerResponse::Handled;
  }
  if (post != (postPath != nullptr)) {
    res.set_header("Allow", post ? "GET, HEAD" : "POST");
    ReplyError(res, 405, post ? "this path is read with GET" : "this path changes something: use POST");
    return httplib::Server::HandlerResponse::Handled;
  }
  // Start and stop change the system: they carry the token of TEMP/http-token.
  if (postPath && postPath->changesSomething &&
      !TokenMatches(token, req.get_header_value("X-Orvella-Token"))) {
    ReplyError(res, 403,
               req.has_header("X-Orvella-Token")
                   ? "the token does not match TEMP/http-token"
                   : "the X-Orvella-Token header with the token of TEMP/http-token is missing");
    return httplib::Server::HandlerResponse::Handled;
  }
  return httplib::Server::HandlerResponse::Unhandled;
}

}  // namespace

struct WebServer::Impl {
  Impl(const JobBoard& board, WebServerOptions options)
      : options(std::move(options)),
        events(board, this->options.maxEventStreams),
        routes(board, this->options) {}

  WebServerOptions options;
  HttpServer server{kLimits, kReadTimeout, kWriteTimeout};
  EventStreams events;
  WebRoutes routes;
  std::thread listener;
};

WebServer::WebServer(const JobBoard& board, WebServerOptions options)
    : impl_(std::make_unique<Impl>(board, std::move(options))) {}

WebServer::~WebServer() { Stop(); }

bool WebServer::Start(std::string& why) {
  HttpServer& server = impl_->server;
  const std::size_t threads = impl_->options.maxEventStreams + kRequestThreads;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_default_headers(ReplyHeaders());
  server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    return Refuse(req, res, impl_->options.token);
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
    if (res.body.empty()) ReplyError(res, res.status, res.status == 404 ? "no such page" : "refused");
  });
  server.Get("/api/events",
             [this](const httplib::Request& req, httplib::Response& res) { impl_->events.Handle(req, res); });
  impl_->routes.Register(server);

  // SO_REUSEADDR for a quick restart, but not httplib's SO_REUSEPORT, which
  // would let a second process bind the same port and take half the requests.
  server.set_socket_options([](socket_t sock) {
    const int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  const ListenAddress& address = impl_->options.address;
  if (address.host.find(':') != std::string::npos) server.set_address_family(AF_INET6);
  if (!server.bind_to_port(address.host, address.port) || !server.WidenBacklog()) {
    why = "cannot listen on " + address.Text() + " (in use, or not an address of this machine)";
    return false;
  }
  impl_->listener = std::thread([&server] { server.listen_after_bind(); });
  // A stop that came before the listener runs would be lost (httplib stops
  // only a running server) and leave Stop() waiting for ever.
  for (int waited = 0; !server.is_running() && waited < 5000; ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return true;
}

void WebServer::Stop() {
  if (!impl_->listener.joinable()) return;
  impl_->events.Close();
  impl_->server.stop();
  impl_->listener.join();
}

}  // namespace orvella::web
