// kelmar-timing-baseline: the yardstick for kelmar-timing, a plain Qt 6 window with one filled
// table of the sun table's shape and nothing else. Reports its first paint as kelmar-timing does,
// so scripts/timing.sh can give the window's start-up as a ratio to it on the same machine.
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "first_paint.h"

int main(int argc, char* argv[]) {
  QElapsedTimer clock;
  clock.start();
  QApplication app(argc, argv);
  QWidget window;
  auto* table = new QTableWidget(34, 9, &window);
  for (int r = 0; r < 34; ++r)
    for (int c = 0; c < 9; ++c) table->setItem(r, c, new QTableWidgetItem(QStringLiteral("%1:%2").arg(r).arg(c)));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(table);
  window.resize(950, 634);

  FirstPaint first(clock);
  table->viewport()->installEventFilter(&first);
  window.show();
  app.exec();
  if (first.elapsed_ns < 0) return 1;
  std::printf("first paint: %.1f ms after main(); wall clock %lld ns; processor %.1f ms\n", first.elapsed_ns / 1e6,
              first.wall_ns, first.cpu_ns / 1e6);
  return 0;
}
