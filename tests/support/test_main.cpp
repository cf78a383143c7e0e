// The test suites' main: the process set-up of the orvella binary, then the tests.
#include <gtest/gtest.h>

#include "support/process_setup.h"

int main(int argc, char** argv) {
  orvella::test::SetUpTestProcess();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
