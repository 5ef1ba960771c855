#include <QApplication>

#include "core/date_names.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  kelmar::ui::FormOptions options;
  options.names = kelmar::LocaleDateNames();
  kelmar::ui::TForm1 form(std::move(options));
  form.show();
  return app.exec();
}
