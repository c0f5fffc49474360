#include "PlotStateSwitches.h"

#include <QAction>
#include <QTabWidget>
#include <QWidget>

namespace tessivar {

PlottingSwitches switchesAtStartUp() {
  PlottingSwitches s;
  s.runButtonsDisabled = false;
  s.setupControlsEnabled = false;
  s.fileDemosMenusEnabled = true;
  s.tabEnabled[kTabDemos] = false;
  s.tabEnabled[kTabSetup] = false;
  return s;
}

PlottingSwitches switchesAtStartPlot() {
  PlottingSwitches s;
  s.runButtonsDisabled = true;
  // The Setup tab is reachable only while plotting; its controls are usable then, or the tab
  // could change nothing.
  s.setupControlsEnabled = true;
  s.fileDemosMenusEnabled = false;
  s.tabEnabled[kTabParameters] = false;
  s.tabEnabled[kTabDemos] = false;
  s.tabEnabled[kTabSetup] = true;
  s.showTab = kTabPlot;
  return s;
}

PlottingSwitches switchesAtExitPlotting() {
  PlottingSwitches s;
  s.runButtonsDisabled = false;
  s.setupControlsEnabled = false;
  s.fileDemosMenusEnabled = true;
  s.tabEnabled[kTabParameters] = true;
  s.tabEnabled[kTabSetup] = false;
  s.showTab = kTabParameters;
  return s;
}

PlottingSwitches switchesEnteringDemos() {
  PlottingSwitches s;
  s.runButtonsDisabled = false;
  s.setupControlsEnabled = true;
  s.fileDemosMenusEnabled = false;
  s.tabEnabled[kTabParameters] = false;
  s.tabEnabled[kTabDemos] = true;
  s.showTab = kTabDemos;
  return s;
}

PlottingSwitches switchesLeavingDemos() {
  PlottingSwitches s;
  s.runButtonsDisabled = false;
  s.setupControlsEnabled = false;
  s.fileDemosMenusEnabled = true;
  s.tabEnabled[kTabParameters] = true;
  s.tabEnabled[kTabDemos] = false;
  s.showTab = kTabParameters;
  return s;
}

void applySwitches(const PlottingSwitches& s, const PlottingWidgets& w) {
  for (QWidget* b : w.runButtons)
    if (b) b->setEnabled(!s.runButtonsDisabled);
  for (QAction* m : w.menus)
    if (m) m->setEnabled(s.fileDemosMenusEnabled);
  if (!w.tabs) return;
  for (int t = 0; t < static_cast<int>(s.tabEnabled.size()) && t < w.tabs->count(); ++t) {
    if (s.tabEnabled[t]) w.tabs->setTabEnabled(t, *s.tabEnabled[t]);
  }
  if (s.showTab && *s.showTab < w.tabs->count()) w.tabs->setCurrentIndex(*s.showTab);
}

TabChange tabChangeRule(const std::vector<PlacedControl>& controls, int shownTab) {
  TabChange r;
  r.enabled.resize(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const PlacedControl& c = controls[i];
    if (c.name.startsWith(QLatin1String("mnu"))) continue;  // menu entries are left alone
    r.enabled[i] = c.tab == shownTab;
    if (c.tab == shownTab && c.canFocus && (!r.focus || c.tabIndex < controls[*r.focus].tabIndex))
      r.focus = i;
  }
  return r;
}

namespace {

// The widget itself when it takes the focus, else its first descendant in the focus chain that
// does (a frame or a page of controls passes the focus on).
QWidget* focusTarget(QWidget* w) {
  if (w->focusPolicy() != Qt::NoFocus) return w;
  for (QWidget* n = w->nextInFocusChain(); n && n != w; n = n->nextInFocusChain()) {
    if (!w->isAncestorOf(n)) break;
    if (n->focusPolicy() != Qt::NoFocus && n->isEnabled() && !n->isHidden()) return n;
  }
  return nullptr;
}

}  // namespace

void Plot_Tabs_Click(QTabWidget& tabs, bool suppressed) {
  if (suppressed) return;
  std::vector<PlacedControl> placed;
  std::vector<QWidget*> widgets;
  for (int t = 0; t < tabs.count(); ++t) {
    QWidget* page = tabs.widget(t);
    // Tab index: position in the window's focus chain, starting from the page.
    std::vector<QWidget*> chain;
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain())
      chain.push_back(w);
    for (QObject* o : page->children()) {
      auto* w = qobject_cast<QWidget*>(o);
      if (!w || w->isWindow()) continue;
      const auto at = std::find(chain.begin(), chain.end(), w);
      placed.push_back(
          {w->objectName(), t, static_cast<int>(at - chain.begin()), focusTarget(w) != nullptr});
      widgets.push_back(w);
    }
  }
  const TabChange change = tabChangeRule(placed, tabs.currentIndex());
  for (std::size_t i = 0; i < widgets.size(); ++i) {
    if (change.enabled[i]) widgets[i]->setEnabled(*change.enabled[i]);
  }
  if (change.focus) {
    if (QWidget* target = focusTarget(widgets[*change.focus])) target->setFocus(Qt::TabFocusReason);
  }
}

}  // namespace tessivar
