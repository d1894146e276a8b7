#include <gtest/gtest.h>

#include "common/platform.h"

int main(int argc, char** argv) {
  // The program runs with flush-to-zero; so do its tests.
  quenzel::platform::setFloatingPointMode();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
