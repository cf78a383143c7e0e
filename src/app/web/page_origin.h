#pragma once
// Which names the page answers to, and whether a request comes from the
// page itself. A page of another site that a browser was led to, by a name
// of its own that resolves to this machine (DNS rebinding), sends that name
// as Host and is refused; a script of another site that sends a request to
// the page carries that site's Origin and is refused.
#include <string>
#include <string_view>
#include <vector>

#include "app/web/listen_address.h"

namespace orvella::web {

class PageOrigin {
 public:
  // names: the host names given with --http-host, beside the listening
  // address and localhost.
  PageOrigin(const ListenAddress& address, std::vector<std::string> names);

  // Whether Host names this page: an allowed name, or the address the
  // request reached (localAddress, for a page that listens on every
  // address), with no port or the listening one.
  bool HostAllowed(std::string_view host, std::string_view localAddress) const;
  // Whether Origin is the page's own: http:// and the Host it was served as.
  static bool SameOrigin(std::string_view origin, std::string_view host);

 private:
  int port_;
  std::vector<std::string> names_;
};

}  // namespace orvella::web
