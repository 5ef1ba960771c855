// kelmar-timing: how long the window takes to start and to follow a selector. Starts the real
// window beside a settings file, reports the time from main() to the end of the first paint of
// the sun table, then moves the month selector back and forth and repaints the table each time.
// Prints the wall-clock time of the first paint too, so a script can add the process start-up.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "first_paint.h"
#include "core/date_names.h"
#include "ui/form1.h"
#include "ui/text_grid_view.h"


int main(int argc, char* argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  kelmar::ui::InstallQtTranslations();  // as the program does
  const qint64 app_ns = clock.nsecsElapsed();
  kelmar::ui::FormOptions options;
  options.names = kelmar::LocaleDateNames();
  kelmar::ui::TForm1 form(std::move(options));
  const qint64 form_ns = clock.nsecsElapsed();
  FirstPaint first(clock);
  form.StringGridVos->viewport()->installEventFilter(&first);
  // Then the month selector, inside the running event loop: recompute and repaint the sun table.
  std::string selector_report;
  first.on_painted = [&] {
    struct CountPaints : QObject {
      int n = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++n;
        return false;
      }
    } paints;
    form.StringGridVos->viewport()->installEventFilter(&paints);
    std::vector<double> ms, calc_ms;
    for (int i = 0; i < 200; ++i) {
      QElapsedTimer t;
      t.start();
      form.ScrollBarM->setValue(form.ScrollBarM->value() == 12 ? 1 : form.ScrollBarM->value() + 1);
      calc_ms.push_back(t.nsecsElapsed() / 1e6);
      form.StringGridVos->viewport()->repaint();
      ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(calc_ms.begin(), calc_ms.end());
    char line[300];
    std::snprintf(line, sizeof line,
                  "scroll-bar change (recompute + repaint): median %.2f ms, 95%% %.2f ms, max %.2f ms, %d paints;"
                  " recompute alone: median %.2f ms, 95%% %.2f ms\n",
                  ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back(), paints.n, calc_ms[calc_ms.size() / 2],
                  calc_ms[calc_ms.size() * 95 / 100]);
    selector_report = line;
  };
  form.show();
  app.exec();
  if (first.elapsed_ns < 0) {
    std::fprintf(stderr, "kelmar-timing: the sun table was never painted\n");
    return 1;
  }
  std::printf("application object: %.1f ms, window created and tables computed: %.1f ms\n", app_ns / 1e6,
              form_ns / 1e6);
  const bool filled = !form.SunGrid().Cell(0, 1).empty() && !form.SatGrid().Cell(0, 1).empty();
  std::printf("first paint: %.1f ms after main(); wall clock %lld ns; processor %.1f ms; tables filled: %s\n",
              first.elapsed_ns / 1e6, first.wall_ns, first.cpu_ns / 1e6, filled ? "yes" : "NO");
  std::fputs(selector_report.c_str(), stdout);
  return filled ? 0 : 1;
}
