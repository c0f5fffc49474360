// The commands held off while a run goes on (Calculate, the demo buttons, the file commands that
// would change the answer file): each is switched off for the lockout's life and then given back
// the state it had, whatever the run switched meanwhile being set afterwards by its caller.
#pragma once

#include <QList>
#include <QPointer>
#include <utility>

class QAction;
class QWidget;

namespace tessivar {

class RunLockout {
 public:
  RunLockout(const QList<QWidget*>& widgets, const QList<QAction*>& actions);
  ~RunLockout();
  RunLockout(const RunLockout&) = delete;
  RunLockout& operator=(const RunLockout&) = delete;

 private:
  QList<std::pair<QPointer<QWidget>, bool>> widgets_;
  QList<std::pair<QPointer<QAction>, bool>> actions_;
};

}  // namespace tessivar
