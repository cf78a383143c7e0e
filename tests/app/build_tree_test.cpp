// The README builds only the programs (cmake --build build --target orvella
// ...): that alone must bring the data files the program reads from beside
// itself, or every screened stamp fails for want of its pattern.
#include <gtest/gtest.h>

#include "support/process.h"

namespace orvella {
namespace {

TEST(BuildTree, BuildingOrvellaAloneBringsTheFilesItReads) {
  if (std::string(ORVELLA_CMAKE_GENERATOR) != "Ninja") GTEST_SKIP() << "asks Ninja for the build graph";
  // Every command building orvella runs, whether or not it is up to date.
  const auto commands =
      test::RunProcess(ORVELLA_MAKE_PROGRAM, {"-C", ORVELLA_BUILD_DIR, "-t", "commands", "orvella"});
  ASSERT_EQ(commands.exitCode, 0) << commands.err;
  const std::string bin = std::string(ORVELLA_BUILD_DIR) + "/bin";
  for (const std::string& made :
       {"/make_halftone " + bin + "/Halftone", "make_directory " + bin + "/web/icons"}) {
    EXPECT_NE(commands.out.find(made), std::string::npos) << made << ": not run for orvella";
  }
}

}  // namespace
}  // namespace orvella
