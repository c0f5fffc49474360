// Plotting joined up as the window uses it: settings at start, a run plotted with the Setup
// tab's values, the override boxes offered the last plot, Save As of the shown picture.
#include "PlotController.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

#include "Dialogs.h"
#include "OutputBox.h"
#include "PlotPage.h"
#include "SetupPage.h"
#include "TestPrinters.h"

namespace tessivar {
namespace {

RunResults run() {
  RunResults r;
  for (int i = 0; i <= 64; ++i) {
    r.x_array.push_back(static_cast<float>(i / 128.0));
    r.spectrum.push_back(i == 20 ? 0.0f : -30.0f - (i % 3));
  }
  r.npointsZ = 65;
  r.sig2Z = 0.5f;
  r.RunMethod = "Lockheed";
  r.AnsName = "lock.1";
  r.RunFile = "LOCK.1";
  return r;
}

class PlotControllerTest : public ::testing::Test {
 protected:
  void SetUp() override { QSettings().clear(); }
  void TearDown() override { QSettings().clear(); }
  ScriptedDialogs dialogs;
  StringOutputBox out;
};

TEST_F(PlotControllerTest, PlotWithTheSetupValues) {
  PlotController plots(dialogs, out);
  plots.loadSettings();
  EXPECT_FALSE(plots.setupPage()->cmdPlot()->isEnabled());
  plots.applySwitches(switchesAtStartPlot());
  EXPECT_TRUE(plots.setupPage()->cmdPlot()->isEnabled());
  plots.setupPage()->chkBlacknWhite()->click();
  EXPECT_TRUE(plots.startPlot(run()));
  EXPECT_EQ(plots.surface().image().pixelColor(0, 0), QColor(Qt::white));
  EXPECT_TRUE(out.text().contains("  at Freq = .15625  Ampl. =  0\r\n"))
      << out.text().toStdString();
  EXPECT_TRUE(out.text().contains("        ----File: lock.1"));
  EXPECT_EQ(plots.plotPage()->picBox()->objectName(), "picBox");

  // The override boxes, emptied, are offered the plot just drawn.
  plots.setupPage()->setTabShowing([] { return true; });
  plots.setupPage()->txtXmin()->clear();
  plots.setupPage()->txtXstep()->clear();
  plots.setupPage()->chkXaxis()->click();
  EXPECT_EQ(plots.setupPage()->txtXmin()->text(), " 0");
  EXPECT_EQ(plots.setupPage()->txtXstep()->text(), " .0506");
}

TEST_F(PlotControllerTest, SaveAsWritesTheShownPicture) {
  PlotController plots(dialogs, out);
  plots.startPlot(run());
  QTemporaryDir dir;
  dialogs.file(dir.filePath("lock.bmp"));
  QString initialDir = dir.path();
  EXPECT_EQ(plots.cmdFileSaveAs_Click("lock.1", initialDir, "/x"), dir.filePath("lock.bmp"));
  const QImage saved(dir.filePath("lock.bmp"), "BMP");
  EXPECT_EQ(saved.size(), plots.surface().size());
  EXPECT_EQ(saved.pixelColor(3, 3), plots.surface().image().pixelColor(3, 3));
}

TEST_F(PlotControllerTest, ResizedPictureBoxIsFilledByTheSamePlot) {
  PlotController plots(dialogs, out);
  plots.startPlot(run());
  const QString before = out.text();
  const PlotState first = plots.plotter().state();
  plots.plotPage()->resize(800, 500);
  plots.plotPage()->show();
  QCoreApplication::processEvents();
  // The picture box fills the page but for the row of the Export spectrum... button.
  const QSize box = plots.plotPage()->picBox()->size();
  EXPECT_EQ(box.width(), 800);
  EXPECT_GT(box.height(), 400);
  EXPECT_EQ(plots.surface().size(), box);
  EXPECT_EQ(out.text(), before) << "the Output box is not written again";
  EXPECT_FLOAT_EQ(plots.plotter().state().xMax, first.xMax);
  // The curve reaches the new right-hand part of the picture.
  const QColor curve = plots.setupPage()->settings().colors[kCurve1];
  int found = 0;
  for (int y = 0; y < box.height(); ++y)
    for (int x = 650; x < 760; ++x) {
      // The curve is antialiased: its core pixels are near its colour.
      const QColor p = plots.surface().image().pixelColor(x, y);
      found += std::abs(p.red() - curve.red()) + std::abs(p.green() - curve.green()) +
                   std::abs(p.blue() - curve.blue()) <
               60;
    }
  EXPECT_GT(found, 0);
}

TEST(WidgetOutputBox, ShowsLinesAndKeepsTheWrittenText) {
  QPlainTextEdit tbOutBox;
  WidgetOutputBox box(&tbOutBox);
  box.append("first");
  box.append("\r\nsecond\r\n third");
  EXPECT_EQ(tbOutBox.toPlainText(), "first\nsecond\n third");
  EXPECT_EQ(box.text(), "first\r\nsecond\r\n third");
  box.clear();
  EXPECT_EQ(tbOutBox.toPlainText(), "");
}

}  // namespace
}  // namespace tessivar
