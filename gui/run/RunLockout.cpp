#include "RunLockout.h"

#include <QAction>
#include <QWidget>

namespace tessivar {

RunLockout::RunLockout(const QList<QWidget*>& widgets, const QList<QAction*>& actions) {
  for (QWidget* w : widgets) {
    if (!w) continue;
    // Its own switch, not the one it takes from a page that is off.
    widgets_.append({w, !w->testAttribute(Qt::WA_ForceDisabled)});
    w->setEnabled(false);
  }
  for (QAction* a : actions) {
    if (!a) continue;
    actions_.append({a, a->isEnabled()});
    a->setEnabled(false);
  }
}

RunLockout::~RunLockout() {
  for (const auto& [w, enabled] : widgets_)
    if (w) w->setEnabled(enabled);
  for (const auto& [a, enabled] : actions_)
    if (a) a->setEnabled(enabled);
}

}  // namespace tessivar
