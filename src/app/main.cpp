#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <iostream>

#include "core/date_names.h"
#include "settings/settings_io.h"
#include "ui/error_report.h"
#include "ui/form1.h"
#include "ui/front_request.h"
#include "ui/settings_lock.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Ties the window to its menu entry (the Wayland application id, the taskbar's icon).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kelmar.Kelmar"));
  kelmar::ui::FormOptions options;
  options.names = kelmar::LocaleDateNames();
  // A second window on the same file would save over the first one's places at close.
  // The file the window will save to: beside the program, or the user's own when installed.
  const std::string exe = kelmar::ExecutablePath();
  const std::string settings =
      kelmar::ui::ProgramLayout(QFileInfo(QString::fromStdString(exe)).absolutePath().toStdString()).settings;
  // On a first start installed, the user's settings folder does not exist yet; the lock needs it.
  QDir().mkpath(QFileInfo(QString::fromStdString(settings)).absolutePath());
  const kelmar::ui::SettingsLock lock(settings);
  if (lock.state() == kelmar::ui::SettingsLock::State::Busy) {
    kelmar::ui::AskOwnerToComeToFront(lock.LockPath());
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
  if (lock.state() == kelmar::ui::SettingsLock::State::Held)
    kelmar::ui::ListenForFrontRequests(lock.LockPath(), &form);
  return app.exec();
}
