// The plotting moments' switches and the tab-change rule.
#include "PlotStateSwitches.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "TestPrinters.h"

namespace tessivar {
namespace {

TEST(PlottingSwitches, TheThreeMoments) {
  const PlottingSwitches start = switchesAtStartUp();
  EXPECT_FALSE(start.runButtonsDisabled);
  EXPECT_FALSE(start.setupControlsEnabled);
  EXPECT_TRUE(start.fileDemosMenusEnabled);
  EXPECT_EQ(start.tabEnabled[kTabDemos], false);
  EXPECT_EQ(start.tabEnabled[kTabSetup], false);
  EXPECT_FALSE(start.tabEnabled[kTabParameters].has_value());
  EXPECT_FALSE(start.showTab.has_value());

  const PlottingSwitches plot = switchesAtStartPlot();
  EXPECT_TRUE(plot.runButtonsDisabled);
  EXPECT_TRUE(plot.setupControlsEnabled) << "the Setup tab is usable while plotting";
  EXPECT_FALSE(plot.fileDemosMenusEnabled);
  EXPECT_EQ(plot.tabEnabled[kTabParameters], false);
  EXPECT_EQ(plot.tabEnabled[kTabDemos], false);
  EXPECT_EQ(plot.tabEnabled[kTabSetup], true);
  EXPECT_EQ(plot.showTab, kTabPlot);

  const PlottingSwitches exit = switchesAtExitPlotting();
  EXPECT_FALSE(exit.runButtonsDisabled);
  EXPECT_FALSE(exit.setupControlsEnabled);
  EXPECT_TRUE(exit.fileDemosMenusEnabled);
  EXPECT_EQ(exit.tabEnabled[kTabParameters], true);
  EXPECT_EQ(exit.tabEnabled[kTabSetup], false);
  EXPECT_EQ(exit.showTab, kTabParameters);
}

TEST(TabChangeRule, EnablesTheShownTabAndFocusesItsLowestTabIndex) {
  const std::vector<PlacedControl> controls = {
      {"Methods", 0, 3, true},        {"cmdRunDemo", 1, 1, true}, {"SetupPage", 2, 7, true},
      {"mnuFileOpen", 0, 0, true},    {"lblTitle", 2, 2, false},  {"cmdPlot", 2, 5, true},
      {"cmdSaveOptions", 2, 5, true},
  };
  const TabChange c = tabChangeRule(controls, 2);
  const std::vector<std::optional<bool>> expected = {false, false, true, std::nullopt,
                                                     true,  true,  true};
  EXPECT_EQ(c.enabled, expected);
  ASSERT_TRUE(c.focus);
  EXPECT_EQ(controls[*c.focus].name, "cmdPlot") << "the first of a tie wins";
}

TEST(TabChangeRule, AppliedToATabWidget) {
  QTabWidget tabs;
  auto* page0 = new QWidget;
  auto* page1 = new QWidget;
  auto* a = new QLineEdit(page0);
  auto* b = new QPushButton("b", page1);
  auto* c = new QPushButton("c", page1);
  tabs.addTab(page0, "zero");
  tabs.addTab(page1, "one");
  tabs.show();
  QApplication::setActiveWindow(&tabs);
  tabs.setCurrentIndex(1);
  Plot_Tabs_Click(tabs);
  EXPECT_FALSE(a->isEnabled());
  EXPECT_TRUE(b->isEnabled());
  EXPECT_TRUE(c->isEnabled());
  EXPECT_TRUE(b->hasFocus());
  tabs.setCurrentIndex(0);
  Plot_Tabs_Click(tabs, /*suppressed=*/true);
  EXPECT_FALSE(a->isEnabled()) << "suppressed: nothing changes";
  Plot_Tabs_Click(tabs);
  EXPECT_TRUE(a->isEnabled());
  EXPECT_FALSE(b->isEnabled());
}

TEST(PlottingSwitches, AppliedToTheWindowsParts) {
  QTabWidget tabs;
  for (int t = 0; t < 5; ++t) tabs.addTab(new QWidget, QString::number(t));
  QPushButton submit("&Calculate");
  QAction file("&File", nullptr);
  const PlottingWidgets parts{&tabs, {&submit}, {&file}};
  applySwitches(switchesAtStartUp(), parts);
  EXPECT_TRUE(submit.isEnabled());
  EXPECT_TRUE(file.isEnabled());
  EXPECT_FALSE(tabs.isTabEnabled(kTabDemos));
  EXPECT_FALSE(tabs.isTabEnabled(kTabSetup));
  applySwitches(switchesAtStartPlot(), parts);
  EXPECT_FALSE(submit.isEnabled());
  EXPECT_FALSE(file.isEnabled());
  EXPECT_FALSE(tabs.isTabEnabled(kTabParameters));
  EXPECT_TRUE(tabs.isTabEnabled(kTabSetup));
  EXPECT_EQ(tabs.currentIndex(), kTabPlot);
  applySwitches(switchesAtExitPlotting(), parts);
  EXPECT_TRUE(submit.isEnabled());
  EXPECT_TRUE(tabs.isTabEnabled(kTabParameters));
  EXPECT_FALSE(tabs.isTabEnabled(kTabSetup));
  EXPECT_FALSE(tabs.isTabEnabled(kTabDemos)) << "left as it was";
  EXPECT_EQ(tabs.currentIndex(), kTabParameters);
}

}  // namespace
}  // namespace tessivar
