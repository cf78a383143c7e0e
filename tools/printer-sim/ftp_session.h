#pragma once
// One FTP control connection of the simulated printer: passive mode, binary
// transfers, the files stat and info, uploads of quenbyjob into the spool.
#include <netinet/in.h>

#include <atomic>

#include "printer_dir.h"
#include "sim_log.h"
#include "socket_util.h"

namespace orvella::sim {

struct SimContext {
  PrinterDir& dir;
  SimLog& log;
  const std::atomic<bool>& stop;
};

// Serves the connection until the client quits or closes, the stop flag is
// set, or the connection is idle too long.
void RunFtpSession(UniqueFd control, const sockaddr_in& peer, SimContext& context);

}  // namespace orvella::sim
