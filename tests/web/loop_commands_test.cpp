#include "app/serve/loop_commands.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <thread>
#include <vector>

namespace orvella::cli {
namespace {

using std::chrono::milliseconds;

// The page reports a command the loop did not answer in time as unanswered;
// the loop, once free again, must not start or stop behind the operator's back.
TEST(LoopCommands, ACommandUnansweredInTimeIsDroppedAndOneTakenUpInTimeIsAnswered) {
  std::vector<web::RunCommand> carriedOut;
  LoopCommands commands([&](web::RunCommand command) {
    carriedOut.push_back(command);
    web::RunCommandResult result;
    result.started = command == web::RunCommand::kStart;
    return result;
  });

  EXPECT_FALSE(commands.Submit(web::RunCommand::kStart, milliseconds(20)));  // the loop is busy
  commands.RunPending();                                                     // and free again
  EXPECT_TRUE(carriedOut.empty());

  std::thread loop([&] {
    pollfd watch{commands.Fd(), POLLIN, 0};
    if (::poll(&watch, 1, 5000) > 0) commands.RunPending();
  });
  const auto answer = commands.Submit(web::RunCommand::kStop, std::chrono::seconds(5));
  loop.join();
  ASSERT_TRUE(answer);
  EXPECT_FALSE(answer->started);
  EXPECT_EQ(carriedOut, std::vector<web::RunCommand>{web::RunCommand::kStop});
}

}  // namespace
}  // namespace orvella::cli
