// A settings store holding values of the wrong type (text where numbers belong, lists, binary
// values): the program starts and every such value takes its default.
#include <QDir>
#include <QFileInfo>
#include <QPoint>
#include <QRandomGenerator>

#include "FormFixture.h"
#include "PlotSettings.h"
#include "SetupPage.h"
#include "TestPrinters.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

class WrongTypedSettings : public FormFixture {
 protected:
  // A form started over the store as the test left it.
  void restart() {
    QSettings("Harnwell Labs", "Tessivar").sync();
    form = std::make_unique<frmMain>(dialogs, base.path());
  }
  PlotSettings shown() { return form->plots().setupPage()->settings(); }
  static QSettings store() { return QSettings("Harnwell Labs", "Tessivar"); }
};

}  // namespace

TEST_F(WrongTypedSettings, GridChoicesAndSwitchesFallBackToTheirDefaults) {
  {
    QSettings s("Harnwell Labs", "Tessivar");
    s.setValue("BlacknWhite", "yes");
    s.setValue("GridType", "Solid");
    s.setValue("GridLines", QStringList{"1", "2"});
    s.setValue("chkXaxis", QStringList{"on", "off"});
    s.setValue("chkYaxis", QPoint(1, 1));
    s.setValue("txtXmin", QStringList{"0", "1"});
    s.setValue("txtXstep", QPoint(3, 4));
    s.setValue("txtYmin", -60);  // a number where text belongs is its text
    s.setValue("txtYstep", "16");
  }
  restart();
  const PlotSettings got = shown();
  EXPECT_FALSE(got.blackAndWhite);
  EXPECT_EQ(got.gridType, 2);   // "Dotted"
  EXPECT_EQ(got.gridLines, 1);  // "X && Y Axes"
  EXPECT_FALSE(got.xOverride);
  EXPECT_FALSE(got.yOverride);
  EXPECT_EQ(got.txtXmin, "");
  EXPECT_EQ(got.txtXstep, "");
  EXPECT_EQ(got.txtYmin, "-60");
  EXPECT_EQ(got.txtYstep, "16");
  EXPECT_TRUE(dialogs.calls().empty());

  // Numbers kept as text, as the settings file keeps every value, still count.
  {
    QSettings s("Harnwell Labs", "Tessivar");
    s.setValue("GridType", "0");
    s.setValue("GridLines", "3");
    s.setValue("BlacknWhite", "1");
    s.setValue("chkXaxis", "1");
  }
  restart();
  EXPECT_EQ(shown().gridType, 0);
  EXPECT_EQ(shown().gridLines, 3);
  EXPECT_TRUE(shown().blackAndWhite);
  EXPECT_TRUE(shown().xOverride);
}

TEST_F(WrongTypedSettings, ColoursAsTextTakeTheDefaults) {
  {
    QSettings s("Harnwell Labs", "Tessivar");
    s.setValue("Titles", 65280);  // green: the stored colours are used
    s.setValue("Axes", "grey");
    s.setValue("MiscInfo", QStringList{"128", "0"});
    s.setValue("Curve1", 16711680);  // blue
    s.setValue("Curve2", -1);
    s.setValue("Background", "99999999999");
  }
  restart();
  const std::array<QColor, 6> defaults = PlotSettings::defaultColors();
  const std::array<QColor, 6> expected = {defaults[kAxes],     QColor(0, 255, 0),
                                          defaults[kMiscInfo], QColor(0, 0, 255),
                                          defaults[kCurve2],   defaults[kBackground]};
  EXPECT_EQ(shown().colors, expected);

  // A "Titles" colour that is no number means no stored colours, as a black one does.
  store().setValue("Titles", "magenta");
  restart();
  EXPECT_EQ(shown().colors, PlotSettings::formColors());
}

TEST_F(WrongTypedSettings, LastFilePathThatIsNoFolderIsIgnored) {
  for (const QVariant& v :
       {QVariant(12345), QVariant(QStringList{"/tmp", "/usr"}), QVariant(QPoint(2, 3)),
        QVariant(QByteArray("\0\1\2", 3)), QVariant("relative/path")}) {
    SCOPED_TRACE(v.toString().toStdString());
    store().setValue("LastFilePath", v);
    restart();
    EXPECT_EQ(form->dialogDir(), form->userDir());
    // File > Open starts there and stores a real folder again.
    dialogs.clear();
    form->FileOld();
    ASSERT_FALSE(dialogs.calls().empty());
    EXPECT_EQ(dialogs.calls().back().request.initialDir, form->userDir());
  }
}

TEST(WrongTypedPlotSettings, LoaderNeverTakesAWrongTypeForAValue) {
  QSettings store;
  store.clear();
  store.setValue("GridType", 7);  // a number outside 0..3 still leaves the current choice
  store.setValue("GridLines", "X");
  PlotSettings current;
  current.gridType = 3;
  current.gridLines = 2;
  const PlotSettings got = loadSettings(store, current);
  EXPECT_EQ(got.gridType, 3);
  EXPECT_EQ(got.gridLines, 1);
  store.clear();
}

TEST_F(WrongTypedSettings, AGarbledSettingsFileGivesTheDefaults) {
  const QString file = store().fileName();
  QRandomGenerator random(99);
  QByteArray noise(2048, '\0');
  for (char& c : noise) c = static_cast<char>(random.bounded(256));
  noise.prepend("[General]\nGridType=@Variant(\xff\xff)\nAxes=@ByteArray(\nchkXaxis=\"1\n");
  QDir().mkpath(QFileInfo(file).absolutePath());  // the store's folder exists once written
  writeBytes(file, noise);
  restart();
  const PlotSettings got = shown();
  EXPECT_EQ(got.gridLines, 1);
  EXPECT_FALSE(got.xOverride);
  EXPECT_FALSE(got.blackAndWhite);
  EXPECT_EQ(form->dialogDir(), form->userDir());
  EXPECT_TRUE(dialogs.calls().empty());
}
