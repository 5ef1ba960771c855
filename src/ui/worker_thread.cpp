#include "ui/worker_thread.h"

namespace kelmar::ui {

WorkerThread::WorkerThread() : context_(std::make_unique<QObject>()) {
  thread_.setObjectName(QStringLiteral("kelmar-worker"));
  context_->moveToThread(&thread_);
  thread_.start();
}

WorkerThread::~WorkerThread() { Stop(); }

void WorkerThread::Run(std::function<void()> job, QObject* receiver, std::function<void(std::exception_ptr)> done) {
  QMetaObject::invokeMethod(context_.get(), [job = std::move(job), receiver, done = std::move(done)] {
    std::exception_ptr error;
    try {
      job();
    } catch (...) {
      error = std::current_exception();
    }
    QMetaObject::invokeMethod(receiver, [done, error] { done(error); }, Qt::QueuedConnection);
  });
}

void WorkerThread::Wait() {
  if (thread_.isRunning()) QMetaObject::invokeMethod(context_.get(), [] {}, Qt::BlockingQueuedConnection);
}

void WorkerThread::Stop(const std::function<void()>& release) {
  if (!thread_.isRunning()) return;
  QMetaObject::invokeMethod(context_.get(), [this, release] {
    if (release) release();
    thread_.quit();
  });
  thread_.wait();
}

}  // namespace kelmar::ui
