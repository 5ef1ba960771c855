#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "ui/form1.h"

int main(int argc, char** argv) {
  // Also when CTest lists the tests, which it does without the tests' environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  QApplication app(argc, argv);
  // Qt's own buttons and dialogs in Russian, as the program starts them.
  if (!kelmar::ui::InstallQtTranslations()) return 1;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
