#pragma once
// One long-lived thread that runs jobs one at a time, in the order given, so that whatever the
// jobs hold (the office connection of the export) is only ever touched from that thread.
#include <QObject>
#include <QThread>
#include <exception>
#include <functional>
#include <memory>

namespace kelmar::ui {

class WorkerThread {
 public:
  WorkerThread();
  ~WorkerThread();  // Stop() with nothing to release
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Runs job on the worker; then done runs on receiver's thread, with the job's exception or
  // nullptr. receiver must live until Stop() has returned; a done still queued when it goes is
  // dropped.
  void Run(std::function<void()> job, QObject* receiver, std::function<void(std::exception_ptr)> done);
  // Returns once every job given so far has ended.
  void Wait();
  // Runs release on the worker after the jobs given so far, then ends the thread. Idempotent.
  void Stop(const std::function<void()>& release = {});

 private:
  QThread thread_;
  std::unique_ptr<QObject> context_;  // lives on the worker; jobs are queued to it
};

}  // namespace kelmar::ui
