// "В Excel": the window hands the export what it shows and reports the export's failures.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "export/excel_export.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

TEST(FormExport, TheExportGetsTheProgramFolderAndItsFailuresAreReported) {
  struct Case {
    int tab;
    const char* failure;
    const char* shown;
  } cases[] = {
      {0, "Не удалось запустить приложение", "Не удалось запустить приложение."},
      {1, "Нет файла Sat.xls.", "Нет файла Sat.xls."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    test::FormFixture f;
    std::vector<std::string> folders;
    int made = 0;
    f.make_exporter = [&] {
      ++made;
      return std::make_unique<ExcelExporter>([&, c](const std::string& exe_dir) -> std::unique_ptr<automation::Application> {
        folders.push_back(exe_dir);
        throw ExportError(c.failure);
      });
    };
    f.Start("[Points]\nA=10;20\n");
    f.form->TabControl1->Tabs()->setCurrentIndex(c.tab);
    const std::string trace = f.trace;
    QTest::mouseClick(f.form->ButtonExcel, Qt::LeftButton);
    QTest::mouseClick(f.form->ButtonExcel, Qt::LeftButton);
    EXPECT_EQ(made, 1);  // one exporter, kept between clicks
    EXPECT_EQ(folders, std::vector<std::string>(2, f.dir.path().toStdString() + "/"));
    EXPECT_EQ(f.errors, std::vector<std::string>(2, c.shown));
    EXPECT_EQ(f.trace, trace);  // nothing recomputed
  }
}

}  // namespace
}  // namespace kelmar::ui
