#pragma once
// orvella serve --http on a free loopback port, printing from one hot folder
// to the simulated printer "plotter".
#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "app/serve_home.h"
#include "app/web_client.h"
#include "support/background_process.h"
#include "support/printer_sim.h"
#include "support/temp_dir.h"

namespace orvella::test {

class ServeWebFixture : public ::testing::Test {
 protected:
  using Json = nlohmann::json;

  void SetUp() override { PrepareServeHome(home, hot, sim); }

  // Starts the service and waits until the page listens; reads the token.
  void StartServe(const std::vector<std::string>& extraArgs = {});
  Json GetJson(const std::string& path);
  HttpReply Post(const std::string& path, const std::string& token, const std::string& body = "");
  // The run state the page reports.
  int State() { return GetJson("/api/state").value("state", -1); }

  TempDir dir;
  std::filesystem::path home = dir / "home";
  std::filesystem::path hot = dir / "hot";
  SimulatedPrinter sim;
  int port = 0;
  std::string token;
  std::unique_ptr<BackgroundProcess> serve;
};

}  // namespace orvella::test
