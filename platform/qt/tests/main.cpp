// Test main of the Qt backend: one QApplication under the offscreen
// platform, with HOME and the XDG folders in a temporary folder so that no
// test reads or writes real settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir home;
  if (home.isValid()) {
    QByteArray h = QDir(home.path()).absolutePath().toUtf8();
    ::setenv("HOME", h.constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (h + "/config").constData(), 1);
    ::setenv("XDG_DATA_HOME", (h + "/data").constData(), 1);
    ::setenv("XDG_CACHE_HOME", (h + "/cache").constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", h.constData(), 1);
  }
  QApplication app(argc, argv);
  // QApplication takes the locale from the environment; numbers stay in C.
  std::setlocale(LC_NUMERIC, "C");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
