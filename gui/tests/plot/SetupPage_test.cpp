// The Setup tab's controls: names and captions, the override boxes, the step validation,
// black-and-white mode, colour picking and Save Settings.
#include "SetupPage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>

#include "Dialogs.h"
#include "TestPrinters.h"

namespace tessivar {
namespace {

class SetupPageTest : public ::testing::Test {
 protected:
  void SetUp() override { QSettings().clear(); }
  void TearDown() override { QSettings().clear(); }
  ScriptedDialogs dialogs;
};

TEST_F(SetupPageTest, ControlsAndCaptions) {
  SetupPage page(dialogs);
  const struct {
    const char* name;
    const char* caption;
  } buttons[] = {
      {"cmdPlot", "Plot &results >>"},  // Alt+P prints
      {"cmdSaveOptions", "&Save Settings"},
      {"cmdExitPlotting", "E&xit Plotting"},
      {"cmdColor_3", "Pick Color"},
  };
  for (const auto& b : buttons) {
    auto* w = page.findChild<QPushButton*>(b.name);
    ASSERT_TRUE(w) << b.name;
    EXPECT_EQ(w->text(), b.caption);
  }
  EXPECT_EQ(page.findChild<QCheckBox*>("chkXaxis")->text(), "Use following X values for plots:");
  EXPECT_EQ(page.findChild<QCheckBox*>("chkYaxis")->text(), "Use following Y values for plots:");
  EXPECT_EQ(page.findChild<QCheckBox*>("chkBlacknWhite")->text(), "Black && White Plots");
  EXPECT_EQ(page.findChild<QGroupBox*>("FraXaxis")->title(), "X-axis Scaling Setup ");
  EXPECT_EQ(page.findChild<QGroupBox*>("FraYaxis")->title(), "Y-axis Scaling Setup ");
  EXPECT_EQ(page.findChild<QGroupBox*>("fraGridType")->title(), "Type of Grid Lines");
  EXPECT_EQ(page.findChild<QGroupBox*>("fraGridLines")->title(), "Plot Grid Lines");
  EXPECT_EQ(page.findChild<QGroupBox*>("fraColor")->title(), "Color Setup ");
  EXPECT_EQ(page.findChild<QRadioButton*>("optGridLines_1")->text(), "X && Y Axes");
  EXPECT_EQ(page.findChild<QRadioButton*>("optGridType_3")->text(), "Dashed-Dot-Dot");
  EXPECT_EQ(page.findChild<QLabel*>("lblColor_2")->text(), "Misc Info:");
  EXPECT_EQ(page.findChild<QLabel*>("lblColor_5")->text(), "Background:");
  for (const char* box : {"txtXmin", "txtXstep", "txtYmin", "txtYstep"})
    EXPECT_EQ(page.findChild<QLineEdit*>(box)->text(), "0") << box;
  const QStringList labels = [&] {
    QStringList l;
    for (auto* label : page.findChildren<QLabel*>()) l << label->text();
    return l;
  }();
  for (const char* caption :
       {"Enter X-min value:", "X-step for 10 steps:", "Enter Y-min value:", "Y-step for 5 steps:"})
    EXPECT_TRUE(labels.contains(caption)) << caption;
  // The form's start: "Dotted" and "X && Y Axes", overrides cleared, setup controls disabled.
  const PlotSettings s = page.settings();
  EXPECT_EQ(s.gridType, 2);
  EXPECT_EQ(s.gridLines, 1);
  EXPECT_EQ(s.colors, PlotSettings::formColors());
  EXPECT_FALSE(page.cmdPlot()->isEnabled());
  EXPECT_FALSE(page.chkXaxis()->isEnabled());
}

TEST_F(SetupPageTest, TickingAnOverrideEnablesItsBoxesAndOffersTheLastPlot) {
  SetupPage page(dialogs);
  page.setTabShowing([] { return true; });
  page.setLastPlot([] { return OverrideTexts{" 0", " .0506", "-40", " 8.04"}; });
  page.setSetupControlsEnabled(true);
  page.txtXmin()->clear();
  page.txtXstep()->setText("2");
  page.chkXaxis()->click();
  EXPECT_TRUE(page.txtXmin()->isEnabled());
  EXPECT_TRUE(page.txtXstep()->isEnabled());
  EXPECT_EQ(page.txtXmin()->text(), " 0");
  EXPECT_EQ(page.txtXstep()->text(), "2") << "a box with text keeps it";
  EXPECT_FALSE(page.txtYmin()->isEnabled());

  page.chkXaxis()->click();  // cleared again: boxes disabled
  EXPECT_FALSE(page.txtXmin()->isEnabled());

  page.txtYmin()->clear();
  page.txtYstep()->clear();
  page.chkYaxis()->click();
  EXPECT_EQ(page.txtYmin()->text(), "-40");
  EXPECT_EQ(page.txtYstep()->text(), " 8.04");
}

TEST_F(SetupPageTest, OverrideBoxesStayDisabledWhenTheSetupTabIsNotShown) {
  SetupPage page(dialogs);
  page.setTabShowing([] { return false; });
  page.setSetupControlsEnabled(true);
  page.chkXaxis()->click();
  EXPECT_TRUE(page.chkXaxis()->isChecked());
  EXPECT_FALSE(page.txtXmin()->isEnabled());
}

TEST_F(SetupPageTest, StepBoxesRefuseAZeroValue) {
  SetupPage page(dialogs);
  const struct {
    const char* text;
    bool accepted;
  } cases[] = {{"abc", false}, {"0", false}, {"", true}, {"5", true}, {"-2", true}};
  for (const auto& c : cases) {
    dialogs.clear();
    page.txtXstep()->setText(c.text);
    EXPECT_EQ(page.txtXstep_Validate(), c.accepted) << c.text;
    page.txtYstep()->setText(c.text);
    EXPECT_EQ(page.txtYstep_Validate(), c.accepted) << c.text;
    if (c.accepted) {
      EXPECT_TRUE(dialogs.messages().empty());
      continue;
    }
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[0].text, "Please enter a non-zero number for X-step size.");
    EXPECT_EQ(dialogs.messages()[1].text, "Please enter a non-zero number for Y-step size.");
    EXPECT_EQ(dialogs.messages()[0].icon, Dialogs::Icon::Warning);
    EXPECT_EQ(dialogs.messages()[0].title, "Tessivar");
  }
  page.txtXstep()->setText("abc");
  page.txtXstep()->deselect();
  page.txtXstep_Validate();
  EXPECT_EQ(page.txtXstep()->selectedText(), "abc") << "the X box's text is reselected";
}

TEST_F(SetupPageTest, BlackAndWhiteDisablesTheColourControlsAndKeepsTheSwatches) {
  SetupPage page(dialogs);
  page.setSetupControlsEnabled(true);
  page.chkBlacknWhite()->click();
  for (int k = 0; k < 6; ++k) {
    EXPECT_FALSE(page.txtColor(k)->isEnabled());
    EXPECT_FALSE(page.cmdColor(k)->isEnabled());
    EXPECT_FALSE(page.lblColor(k)->isEnabled());
  }
  EXPECT_TRUE(page.settings().blackAndWhite);
  EXPECT_EQ(page.settings().colors, PlotSettings::formColors());
  page.chkBlacknWhite()->click();
  EXPECT_TRUE(page.cmdColor(0)->isEnabled());
  EXPECT_TRUE(page.lblColor(0)->isEnabled());
}

TEST_F(SetupPageTest, ColourPick) {
  SetupPage page(dialogs);
  page.setSetupControlsEnabled(true);
  dialogs.color(QColor(1, 2, 3));
  page.cmdColor(3)->click();
  ASSERT_EQ(dialogs.calls().size(), 1u);
  EXPECT_EQ(dialogs.calls()[0].text, QColor(0, 0, 255).name()) << "opened on the swatch";
  EXPECT_EQ(page.settings().colors[kCurve1], QColor(1, 2, 3));
  EXPECT_EQ(page.txtColor(3)->palette().color(QPalette::Base), QColor(1, 2, 3));
  dialogs.color(std::nullopt);  // Cancel
  page.cmdColor(3)->click();
  EXPECT_EQ(page.settings().colors[kCurve1], QColor(1, 2, 3));
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SetupPageTest, SaveSettingsThenLoadInANewPage) {
  {
    SetupPage page(dialogs);
    page.setSetupControlsEnabled(true);
    page.optGridType(0)->click();
    page.optGridLines(3)->click();
    dialogs.color(QColor(9, 8, 7));
    page.cmdColor(5)->click();
    page.chkYaxis()->click();
    page.txtYmin()->setText("-80");
    page.txtYstep()->setText("20");
    page.cmdSaveOptions()->click();
  }
  SetupPage restarted(dialogs);
  restarted.loadSettings();
  const PlotSettings s = restarted.settings();
  EXPECT_EQ(s.gridType, 0);
  EXPECT_EQ(s.gridLines, 3);
  EXPECT_EQ(s.colors[kBackground], QColor(9, 8, 7));
  EXPECT_TRUE(s.yOverride);
  EXPECT_EQ(s.txtYmin, "-80");
  EXPECT_EQ(s.txtYstep, "20");
  EXPECT_FALSE(s.xOverride);
}

TEST_F(SetupPageTest, LoadWithNothingStoredEmptiesTheBoxes) {
  SetupPage page(dialogs);
  page.loadSettings();
  EXPECT_EQ(page.txtXmin()->text(), "");
  EXPECT_EQ(page.settings().colors, PlotSettings::defaultColors());
}

TEST_F(SetupPageTest, ButtonsSignal) {
  SetupPage page(dialogs);
  page.setSetupControlsEnabled(true);
  QSignalSpy plot(&page, &SetupPage::plotRequested);
  QSignalSpy exit(&page, &SetupPage::exitPlottingRequested);
  page.cmdPlot()->click();
  page.cmdExitPlotting()->click();
  EXPECT_EQ(plot.count(), 1);
  EXPECT_EQ(exit.count(), 1);
}

}  // namespace
}  // namespace tessivar
