#include <QApplication>

#include "core/date_names.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Ties the window to its menu entry (the Wayland application id, the taskbar's icon).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kelmar.Kelmar"));
  kelmar::ui::FormOptions options;
  options.names = kelmar::LocaleDateNames();
  kelmar::ui::TForm1 form(std::move(options));
  form.show();
  return app.exec();
}
