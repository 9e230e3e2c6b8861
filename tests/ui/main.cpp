// The UI tests' entry: one QApplication on the offscreen platform for the whole program, made
// inside a temporary root of its own so that Qt and fontconfig write nothing outside it. Each test
// then makes its own TempRoot (which points the environment further in) as usual.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "temp_root.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Coordinates are physical pixels, as in the program.
  setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  qv::test::TempRoot application_root;
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
