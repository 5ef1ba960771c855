// "В Excel": the window hands the export a copy of what it shows, runs it on the export's own
// thread and reports its failures when it ends.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "export/excel_export.h"
#include "export/fake_office.h"
#include "ui/text_grid_view.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

bool ExportEnds(TForm1& form) {
  return QTest::qWaitFor([&] { return form.ButtonExcel->isEnabled(); }, 20000);
}

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
    for (int click = 0; click < 2; ++click) {
      QTest::mouseClick(f.form->ButtonExcel, Qt::LeftButton);
      ASSERT_TRUE(ExportEnds(*f.form));
    }
    EXPECT_EQ(made, 1);  // one exporter, kept between clicks
    EXPECT_EQ(folders, std::vector<std::string>(2, f.dir.path().toStdString() + "/"));
    EXPECT_EQ(f.errors, std::vector<std::string>(2, c.shown));
    EXPECT_EQ(f.trace, trace);  // nothing recomputed
  }
}

// Typed texts not yet computed are not in the workbook: its heading is the table's.
TEST(FormExport, TheWorkbookIsHeadedWithWhatTheTableWasComputedFor) {
  testing::FakeOffice office;
  test::FormFixture f;
  f.make_exporter = [&] { return std::make_unique<ExcelExporter>([&](const std::string&) { return office.Create(); }); };
  f.Start("[Points]\nA=10;20\n[Form]\nRBG=1\nEG=3\n");
  std::ofstream(f.dir.filePath("Sun.xls").toStdString()) << "template";
  f.form->EditGMT->setText(QStringLiteral("5"));
  f.form->EditSir->setText(QStringLiteral("86"));
  QTest::mouseClick(f.form->ButtonExcel, Qt::LeftButton);
  ASSERT_TRUE(ExportEnds(*f.form));
  EXPECT_TRUE(f.errors.empty());
  EXPECT_EQ(std::count(office.log.begin(), office.log.end(), "Cells(3,1)=Время: GMT+3"), 1);
}

// An office that takes over a second to start: the window keeps painting, shows it is busy,
// starts no second export, and a close waits for the running one before saving.
TEST(FormExport, ASlowOfficeNeverFreezesTheWindow) {
  testing::FakeOffice office;  // outlives the window, which releases its objects last
  test::FormFixture f;
  f.make_exporter = [&] {
    return std::make_unique<ExcelExporter>([&](const std::string&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      return office.Create();
    });
  };
  f.Start("[Points]\nA=10;20\n");
  std::ofstream(f.dir.filePath("Sun.xls").toStdString()) << "template";
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  int paints = 0;
  struct PaintCounter : QObject {
    int* n;
    explicit PaintCounter(int* count) : n(count) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++*n;
      return false;
    }
  } counter(&paints);
  f.form->StringGridVos->installEventFilter(&counter);
  QTimer repaint;
  QObject::connect(&repaint, &QTimer::timeout, f.form->StringGridVos, [&] { f.form->StringGridVos->update(); });
  repaint.start(50);

  QTest::mouseClick(f.form->ButtonExcel, Qt::LeftButton);
  EXPECT_FALSE(f.form->ButtonExcel->isEnabled());
  EXPECT_EQ(f.form->cursor().shape(), Qt::BusyCursor);
  f.form->ButtonExcelClick();  // a click that reaches the handler all the same does nothing
  QTest::qWait(700);
  EXPECT_GE(paints, 4);
  ASSERT_TRUE(ExportEnds(*f.form));
  EXPECT_EQ(office.apps_created, 1);
  EXPECT_EQ(f.form->cursor().shape(), Qt::ArrowCursor);
  EXPECT_TRUE(f.errors.empty());
  const std::string saved = "SaveAs " + f.dir.filePath("A_3.xls").toStdString();
  EXPECT_EQ(std::count(office.log.begin(), office.log.end(), saved), 1);

  QTest::mouseClick(f.form->ButtonExcel, Qt::LeftButton);
  std::remove(f.settings_path.c_str());
  f.form->close();  // returns once the export has ended and the settings are saved
  EXPECT_EQ(std::count(office.log.begin(), office.log.end(), saved), 2);
  EXPECT_NE(test::ReadSettingsFile(f.settings_path).find("A=10;20"), std::string::npos);
  EXPECT_TRUE(f.errors.empty());
}

}  // namespace
}  // namespace kelmar::ui
