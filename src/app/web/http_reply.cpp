#include "app/web/http_reply.h"

namespace orvella::web {

const httplib::Headers& ReplyHeaders() {
  static const httplib::Headers headers{{"X-Content-Type-Options", "nosniff"},
                                        {kPolicyHeader, "default-src 'none'; sandbox"}};
  return headers;
}

void ReplyJson(httplib::Response& res, int status, const Json& body) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  // File names and folders come from disk and need not be valid UTF-8.
  res.set_content(body.dump(-1, ' ', false, Json::error_handler_t::replace),
                  "application/json; charset=utf-8");
}

void ReplyError(httplib::Response& res, int status, const std::string& error) {
  ReplyJson(res, status, Json{{"error", error}});
}

}  // namespace orvella::web
