#include "app/serve_web_fixture.h"

#include "support/process.h"

namespace orvella::test {

using namespace std::chrono_literals;

void ServeWebFixture::StartServe(const std::vector<std::string>& extraArgs) {
  port = UnusedLoopbackPort();
  std::vector<std::string> args{"serve", "--home", home.string(), "--http",
                                "127.0.0.1:" + std::to_string(port)};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  serve = std::make_unique<BackgroundProcess>(BinaryPath("orvella"), args, dir / "serve.out");
  ASSERT_FALSE(serve->WaitForLine("orvella serve: status page on", 20s).empty()) << serve->Output();
  token = ReadFileBytes(home / "TEMP/http-token");
  if (!token.empty() && token.back() == '\n') token.pop_back();
}

nlohmann::json ServeWebFixture::GetJson(const std::string& path) {
  const HttpReply reply = SendHttp(port, "GET", path);
  EXPECT_EQ(reply.status, 200) << path << ": " << reply.body;
  return Json::parse(reply.body, nullptr, false);
}

HttpReply ServeWebFixture::Post(const std::string& path, const std::string& token, const std::string& body) {
  std::vector<std::string> headers{"Content-Type: application/json"};
  if (!token.empty()) headers.push_back("X-Orvella-Token: " + token);
  return SendHttp(port, "POST", path, headers, body);
}

}  // namespace orvella::test
