#pragma once
// /api/events: the job board as Server-Sent Events. A new stream gets the
// whole board ("snapshot"), then each row that was added or changed ("row")
// and each run state ("state"). Streams are counted and refused beyond the
// limit, since each holds one of the server's threads.
#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "app/web/job_board.h"

namespace orvella::web {

class EventStreams {
 public:
  EventStreams(const JobBoard& board, std::size_t maxStreams) : board_(board), maxStreams_(maxStreams) {}

  void Handle(const httplib::Request& req, httplib::Response& res);
  // Every stream ends within one poll interval; new ones are refused.
  void Close();

 private:
  struct Stream;
  bool Provide(Stream& stream, httplib::DataSink& sink);
  // Waits at most the interval; false once closed.
  bool Wait(std::chrono::milliseconds interval);

  const JobBoard& board_;
  const std::size_t maxStreams_;
  std::atomic<std::size_t> open_{0};
  std::mutex closeMutex_;
  std::condition_variable closed_;
  bool closing_ = false;
};

}  // namespace orvella::web
