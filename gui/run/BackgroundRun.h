// One engine run away from the window's thread. run() hands RunExecution::execute to a worker
// thread and waits for it in a local event loop: meanwhile the window repaints, resizes and takes
// clicks (its Stop button among them), and the caller goes on when the run has ended, as after a
// direct call. requestStop() asks the engine to end the run; an engine without the entry that
// takes a stop request finishes it. One run at a time.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>

#include "RunExecution.h"
#include "RunResults.h"

namespace tessivar {

class BackgroundRun : public QObject {
  Q_OBJECT

 public:
  explicit BackgroundRun(QObject* parent = nullptr) : QObject(parent) {}
  // A run still going is stopped and waited for: nothing is left half-written.
  ~BackgroundRun() override;

  // Runs prepared on a worker thread and returns what the engine filled. Not re-entrant: a
  // call while a run is going returns at once with nptsZ 0 (callers keep their run commands
  // off meanwhile).
  RunResults run(const PreparedRun& prepared);
  bool running() const { return running_; }

  // Asks the engine to end the running run; run() then returns its stopped results.
  void requestStop();
  // Whole seconds since the running run started.
  int seconds() const;

  // The busy text shown while a run goes on.
  static QString calculatingText(int seconds);

 signals:
  void started();
  void secondElapsed(int seconds);  // each whole second of a running run
  void finished();

 private:
  alignas(std::atomic_ref<int>::required_alignment) int stopFlag_ = 0;
  bool running_ = false;
  QElapsedTimer clock_;
  class QThread* worker_ = nullptr;
};

}  // namespace tessivar
