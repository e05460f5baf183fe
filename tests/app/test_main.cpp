// The widget tests need one QApplication; without a display they run on
// the offscreen platform (also when ctest lists them).
#include <cstdlib>

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
