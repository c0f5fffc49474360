// Settings round trip through QSettings in test mode, and the load rules.
#include "PlotSettings.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "TestPrinters.h"

namespace tessivar {
namespace {

class PlotSettingsStore : public ::testing::Test {
 protected:
  void SetUp() override { QSettings().clear(); }
  void TearDown() override { QSettings().clear(); }
};

TEST(PlotColors, IntegerIsRedPlusGreenTimes256PlusBlueTimes65536) {
  EXPECT_EQ(colorToInt(QColor(111, 111, 111)), 7303023);
  EXPECT_EQ(colorToInt(QColor(128, 0, 0)), 128);
  EXPECT_EQ(colorToInt(QColor(192, 192, 192)), 12632256);
  EXPECT_EQ(colorFromInt(7303023), QColor(111, 111, 111));
  EXPECT_EQ(colorFromInt(16711680), QColor(0, 0, 255));
}

TEST_F(PlotSettingsStore, NothingStoredGivesTheDefaults) {
  QSettings store;
  store.setValue("LastFilePath", "/home/u");  // the folder is no plot setting
  const PlotSettings s = loadSettings(store, PlotSettings());
  EXPECT_EQ(s.colors, PlotSettings::defaultColors());
  EXPECT_FALSE(s.xOverride);
  EXPECT_FALSE(s.yOverride);
  EXPECT_EQ(s.txtXmin, "");
  EXPECT_EQ(s.txtYstep, "");
  EXPECT_EQ(s.gridLines, 1);
  EXPECT_EQ(s.gridType, 2);
  EXPECT_FALSE(s.blackAndWhite);
}

TEST_F(PlotSettingsStore, RoundTrip) {
  PlotSettings s;
  s.blackAndWhite = false;
  s.gridType = 3;
  s.gridLines = 2;
  s.colors = {QColor(1, 2, 3),    QColor(4, 5, 6),    QColor(7, 8, 9),
              QColor(10, 11, 12), QColor(13, 14, 15), QColor(16, 17, 18)};
  s.xOverride = true;
  s.txtXmin = " 0";
  s.txtXstep = " .046";
  s.yOverride = true;
  s.txtYmin = "-60";
  s.txtYstep = "16";
  {
    QSettings store;
    saveSettings(store, s);
  }
  QSettings store;
  EXPECT_EQ(store.value("Axes").toInt(), 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(loadSettings(store, PlotSettings()), s);
}

TEST_F(PlotSettingsStore, BlackAndWhiteSaveLeavesTheStoredColours) {
  PlotSettings coloured;
  coloured.colors[kCurve1] = QColor(0, 200, 0);
  QSettings store;
  saveSettings(store, coloured);
  PlotSettings bw = coloured;
  bw.blackAndWhite = true;
  bw.colors[kCurve1] = QColor(200, 0, 0);  // changed on the form, not saved in this mode
  bw.gridLines = 0;
  saveSettings(store, bw);
  EXPECT_EQ(store.value("BlacknWhite").toInt(), 1);
  EXPECT_EQ(store.value("GridLines").toInt(), 0);
  EXPECT_EQ(store.value("Curve1").toInt(), colorToInt(QColor(0, 200, 0)));
  const PlotSettings loaded = loadSettings(store, PlotSettings());
  EXPECT_TRUE(loaded.blackAndWhite);
  EXPECT_EQ(loaded.colors[kCurve1], QColor(0, 200, 0));
}

TEST_F(PlotSettingsStore, StoredBlackTitlesIgnoresAllSixColours) {
  QSettings store;
  store.setValue("BlacknWhite", 0);
  store.setValue("Titles", 0);
  store.setValue("Axes", 255);
  store.setValue("Curve1", 65280);
  const PlotSettings loaded = loadSettings(store, PlotSettings());
  EXPECT_EQ(loaded.colors, PlotSettings::formColors());
}

TEST_F(PlotSettingsStore, MissingColourReadsAsBlackWhenTitlesIsStored) {
  QSettings store;
  store.setValue("Titles", 255);
  const PlotSettings loaded = loadSettings(store, PlotSettings());
  EXPECT_EQ(loaded.colors[kTitles], QColor(255, 0, 0));
  EXPECT_EQ(loaded.colors[kAxes], QColor(0, 0, 0));
  EXPECT_EQ(loaded.colors[kBackground], QColor(0, 0, 0));
}

TEST_F(PlotSettingsStore, GridChoicesOutOfRangeOrMissing) {
  QSettings store;
  store.setValue("GridType", 7);  // no style from the store: "Dotted" stays
  PlotSettings current;
  current.gridLines = 3;
  PlotSettings loaded = loadSettings(store, current);
  EXPECT_EQ(loaded.gridType, 2);
  EXPECT_EQ(loaded.gridLines, 1) << "missing GridLines selects X && Y Axes";
  store.setValue("GridLines", -1);
  loaded = loadSettings(store, current);
  EXPECT_EQ(loaded.gridLines, 3) << "an index outside 0..3 leaves the current choice";
}

TEST_F(PlotSettingsStore, NoGridChoiceSelectedWritesNoGridValue) {
  PlotSettings s;
  s.gridType = -1;
  s.gridLines = -1;
  QSettings store;
  saveSettings(store, s);
  EXPECT_FALSE(store.contains("GridType"));
  EXPECT_FALSE(store.contains("GridLines"));
  EXPECT_TRUE(store.contains("BlacknWhite"));
}

TEST_F(PlotSettingsStore, SettingsSurviveANewStoreObject) {
  PlotSettings s;
  s.colors[kBackground] = QColor(10, 20, 30);
  s.txtYmin = "-80";
  saveSettings(*std::make_unique<QSettings>(), s);
  QSettings again;
  EXPECT_EQ(loadSettings(again, PlotSettings()).txtYmin, "-80");
  EXPECT_EQ(loadSettings(again, PlotSettings()).colors[kBackground], QColor(10, 20, 30));
}

}  // namespace
}  // namespace tessivar
