// main of the test programs that need a window system: GL surfaces of the
// program's format, then one application object for all tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "render/gl_probe.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  netglobe::requestsurfaceformat();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
