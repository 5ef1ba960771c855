#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "settings/cp1251.h"

namespace kelmar::ui::test {

void WriteSettingsFile(const std::string& path, const std::string& lines) {
  std::string crlf;
  for (char c : lines) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::ofstream out(path, std::ios::binary);
  out << EncodeCp1251Lossy(crlf);
}

std::string ReadSettingsFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return DecodeCp1251(ss.str());
}

void FormFixture::Start(const std::string& ini, QDate today, int v) {
  settings_path = dir.filePath(QStringLiteral("kelmar.INI")).toStdString();
  if (!ini.empty()) WriteSettingsFile(settings_path, ini);
  FormOptions options;
  options.clock = [today] { return QDateTime(today, QTime(10, 30)); };
  options.screen_height = v;
  options.settings_path = settings_path;
  options.exe_dir = dir.path().toStdString();
  options.make_exporter = make_exporter;
  options.error_sink = [this](QWidget*, const std::string& text) { errors.push_back(text); };
  options.on_compute = [this](char table) { trace += table; };
  form = std::make_unique<TForm1>(std::move(options));
}

void FormFixture::ShowActive() {
  form->show();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void AnswerNextBox(QMessageBox::StandardButton button, BoxAnswer* record) {
  QTimer::singleShot(5, [button, record] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      AnswerNextBox(button, record);  // not open yet: look again shortly
      return;
    }
    record->seen = true;
    record->title = box->windowTitle();
    record->text = box->text();
    record->icon = box->icon();
    for (QAbstractButton* b : box->buttons()) record->buttons << b->text();
    box->button(button)->click();
  });
}

int CountColour(const QImage& img, const QRect& area, const QColor& c, int tolerance) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor p = img.pixelColor(x, y);
      if (std::abs(p.red() - c.red()) <= tolerance && std::abs(p.green() - c.green()) <= tolerance &&
          std::abs(p.blue() - c.blue()) <= tolerance) {
        ++n;
      }
    }
  }
  return n;
}

}  // namespace kelmar::ui::test
