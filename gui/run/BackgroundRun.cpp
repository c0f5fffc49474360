#include "BackgroundRun.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <memory>

namespace tessivar {

BackgroundRun::~BackgroundRun() {
  if (!worker_) return;
  requestStop();
  worker_->wait();
}

RunResults BackgroundRun::run(const PreparedRun& prepared) {
  if (running_) return RunResults{};
  std::atomic_ref<int>(stopFlag_).store(0);
  RunResults results;
  std::atomic<bool> done{false};
  const std::unique_ptr<QThread> worker(QThread::create([&] {
    results = RunExecution::execute(prepared, &stopFlag_);
    done = true;
  }));
  worker_ = worker.get();

  QEventLoop loop;
  // The thread object belongs to this thread: its end reaches the loop as a queued call, which
  // wakes it.
  connect(worker.get(), &QThread::finished, &loop, [] {});
  // A few ticks a second, so that each whole second is shown when it is reached.
  QTimer tick;
  tick.setInterval(250);
  int shown = 0;
  connect(&tick, &QTimer::timeout, this, [&] {
    if (const int s = seconds(); s != shown) emit secondElapsed(shown = s);
  });

  running_ = true;
  clock_.start();
  emit started();
  worker->start();
  tick.start();
  // Events are handled until the run has ended, whatever else asks the application to quit
  // meanwhile (exec() would return at once once that was asked): the window's close waits for
  // the run, which it stops first.
  while (!done) loop.processEvents(QEventLoop::WaitForMoreEvents);
  worker->wait();
  tick.stop();
  worker_ = nullptr;
  running_ = false;
  emit finished();
  return results;
}

void BackgroundRun::requestStop() {
  std::atomic_ref<int>(stopFlag_).store(1);
}

int BackgroundRun::seconds() const {
  return running_ ? static_cast<int>(clock_.elapsed() / 1000) : 0;
}

QString BackgroundRun::calculatingText(int seconds) {
  return QStringLiteral("Calculating... %1 s").arg(seconds);
}

}  // namespace tessivar
