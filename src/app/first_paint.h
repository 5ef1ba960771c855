#pragma once
// Notes the end of the first paint of a widget for the start-up timings, then ends the event loop.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <functional>

class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QElapsedTimer& clock) : clock_(clock) {}
  qint64 elapsed_ns = -1;
  std::function<void()> on_painted;
  long long wall_ns = 0;
  long long cpu_ns = 0;  // the process's processor time to then: what a loaded machine does not inflate

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // The clock is read once this paint pass has ended and the frame has gone out.
      QTimer::singleShot(0, this, [this] {
        elapsed_ns = clock_.nsecsElapsed();
        wall_ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::system_clock::now().time_since_epoch()).count();
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        cpu_ns = cpu.tv_sec * 1000000000LL + cpu.tv_nsec;
        if (on_painted) on_painted();
        QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  QElapsedTimer& clock_;
};

