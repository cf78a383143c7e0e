#pragma once
// Replies of the status page's API: JSON bodies, and refusals that say why in
// plain English; and the headers every reply of the page carries.
#include <httplib.h>

#include <string>

#include "app/web/board_json.h"

namespace orvella::web {

// On every reply, the page's own files excepted (they set their own policy):
// nothing is sniffed into another type, and a reply opened as a page runs
// nothing and loads nothing.
const httplib::Headers& ReplyHeaders();
inline constexpr const char* kPolicyHeader = "Content-Security-Policy";

void ReplyJson(httplib::Response& res, int status, const Json& body);
void ReplyError(httplib::Response& res, int status, const std::string& error);

}  // namespace orvella::web
