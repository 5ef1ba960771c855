#include <QApplication>
#include <QMessageBox>
#include <iostream>

#include "core/date_names.h"
#include "settings/settings_file.h"
#include "ui/error_report.h"
#include "ui/form1.h"
#include "ui/settings_lock.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  kelmar::ui::FormOptions options;
  options.names = kelmar::LocaleDateNames();
  // A second window on the same file would save over the first one's places at close.
  const std::string settings = kelmar::SettingsPathFor(kelmar::ExecutablePath());
  const kelmar::ui::SettingsLock lock(settings);
  if (lock.state() == kelmar::ui::SettingsLock::State::Busy) {
    const QString text = kelmar::ui::AlreadyRunningMessage(settings);
    std::cerr << text.toStdString() << std::endl;
    // Without a screen nobody could answer the box, and the start would never end.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
      QMessageBox::warning(nullptr, QString::fromLatin1(kelmar::ui::kAppTitle), text);
    return 1;
  }
  kelmar::ui::TForm1 form(std::move(options));
  form.show();
  return app.exec();
}
