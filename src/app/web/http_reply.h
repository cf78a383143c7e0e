#pragma once
// Replies of the status page's API: JSON bodies, and refusals that say why in
// plain English.
#include <httplib.h>

#include <string>

#include "app/web/board_json.h"

namespace orvella::web {

void ReplyJson(httplib::Response& res, int status, const Json& body);
void ReplyError(httplib::Response& res, int status, const std::string& error);

}  // namespace orvella::web
