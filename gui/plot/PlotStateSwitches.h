// Which parts of the main window are usable at the three moments of plotting (start-up, the
// start of a plot, leaving plotting), and the tab-change rule, as plain values that the window
// applies to its widgets.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

class QAction;
class QTabWidget;
class QWidget;

namespace tessivar {

// Tabs of the main window.
enum MainTab { kTabParameters = 0, kTabDemos = 1, kTabSetup = 2, kTabOutput = 3, kTabPlot = 4 };

struct PlottingSwitches {
  bool runButtonsDisabled = false;    // cmdCancelDemo, cmdRunDemo, cmdSubmit
  bool setupControlsEnabled = false;  // colours, grid, overrides' check boxes, Setup buttons
  bool fileDemosMenusEnabled = true;  // "&File" and "&Demos"
  std::array<std::optional<bool>, 5> tabEnabled;  // unset: left as it is
  std::optional<int> showTab;
};

PlottingSwitches switchesAtStartUp();
PlottingSwitches switchesAtStartPlot();
PlottingSwitches switchesAtExitPlotting();
// Demo mode: entered from Demos > Run Demo (or the intro), left with "Parameter Selection".
PlottingSwitches switchesEnteringDemos();
PlottingSwitches switchesLeavingDemos();

// The main window's parts that the switches touch; the setup controls are the Setup page's
// (PlotController::applySwitches). Missing parts are skipped.
struct PlottingWidgets {
  QTabWidget* tabs = nullptr;
  std::vector<QWidget*> runButtons;  // cmdCancelDemo, cmdRunDemo, cmdSubmit
  std::vector<QAction*> menus;       // the "&File" and "&Demos" menus' actions
};
// Applies run buttons, menus and tabs, then shows the tab the moment names.
void applySwitches(const PlottingSwitches& s, const PlottingWidgets& w);

// The tab-change rule: every control placed directly on a tab page (menus aside) is enabled on
// the tab now shown and disabled elsewhere; the focus goes to the enabled control with the
// lowest tab index on the shown page (the first met wins a tie).
struct PlacedControl {
  QString name;
  int tab = 0;
  int tabIndex = 0;
  bool canFocus = true;
};
struct TabChange {
  std::vector<std::optional<bool>> enabled;  // one per control in the order given; menus unset
  std::optional<std::size_t> focus;
};
TabChange tabChangeRule(const std::vector<PlacedControl>& controls, int shownTab);

// Applies the rule to the tab widget's pages: their direct child widgets are the placed
// controls, their order in the focus chain is their tab index. Does nothing when suppressed.
void Plot_Tabs_Click(QTabWidget& tabs, bool suppressed = false);

}  // namespace tessivar
