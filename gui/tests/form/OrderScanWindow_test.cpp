// "Order scan..." on the parameter form: which methods enable it, the scan of the form's data on
// its own thread, the window's picks, and "Use order k" filling nPoles.
#include "OrderScanWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QThread>

#include "FormFixture.h"

using namespace tessivar;
using namespace tessivar::testing;

namespace {

// n samples of an AR(2) process with a resonance at 0.2 cycles per sample (seeded).
QString writeAr2(const QString& path, int n) {
  QByteArray text;
  double x1 = 0, x2 = 0;
  unsigned state = 12345;
  auto noise = [&state] {  // a sum of uniforms: roughly normal, exactly repeatable
    double s = 0;
    for (int i = 0; i < 12; ++i) {
      state = state * 1103515245u + 12345u;
      s += static_cast<double>((state >> 8) & 0xffff) / 65536.0;
    }
    return s - 6.0;
  };
  for (int i = 0; i < n + 200; ++i) {
    const double x = 0.5 * x1 - 0.81 * x2 + noise();
    x2 = x1;
    x1 = x;
    if (i >= 200)
      text += QByteArray::number(i - 200) + " " + QByteArray::number(x, 'g', 9) + "\r\n";
  }
  writeBytes(path, text);
  return path;
}

// Lets the window's thread finish and its result arrive (at most 20 s).
bool scanDone(const OrderScanWindow& window) {
  QElapsedTimer clock;
  clock.start();
  while (window.scanning() && clock.elapsed() < 20000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return !window.scanning();
}

OrderScanWindow* scanWindow(frmMain& form) {
  auto windows = form.findChildren<OrderScanWindow*>();
  return windows.isEmpty() ? nullptr : windows.last();
}

}  // namespace

using OrderScanForm = FormFixture;

TEST_F(OrderScanForm, ButtonFollowsTheMethod) {
  QPushButton* button = w<QPushButton>("cmdOrderScan");
  EXPECT_EQ(button->text(), "&Order scan...");
  EXPECT_FALSE(button->isEnabled());
  for (const QString& m : methodEntries()) {
    chooseMethod(m);
    EXPECT_EQ(button->isEnabled(), m == "Auto-Correlation" || m == "Burg" || m == "Covariance" ||
                                       m == "Modified Covariance" ||
                                       m == "Lockheed (Autocorr/Burg)")
        << m.toStdString();
  }
}

TEST_F(OrderScanForm, ScansTheFormsDataAndUseOrderFillsNPoles) {
  chooseData(writeAr2(user("ar2.rda"), 400));
  chooseMethod("Burg");
  box("nSkip")->setText("0");
  box("TotalLines")->setText("0");
  box("nPoints")->setText("512");
  box("nPoles")->setText("");  // the scan needs no order of its own
  w<QRadioButton>("optReal")->setChecked(true);
  w<QRadioButton>("optNo")->setChecked(true);
  form->cmdOrderScan_Click();
  OrderScanWindow* window = scanWindow(*form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(scanDone(*window));
  // 400 samples: the default highest order is min(400 / 2, 50).
  EXPECT_TRUE(window->picksText().startsWith("400 samples, orders 1 to 50. Picks: FPE "))
      << window->picksText().toStdString();
  EXPECT_TRUE(window->picksText().contains("MDL 2,")) << window->picksText().toStdString();
  EXPECT_EQ(window->chart().lastOrder(), 50);
  const int offered = window->offeredOrder();
  QPushButton* use = window->findChild<QPushButton*>("cmdUseOrder");
  ASSERT_NE(use, nullptr);
  EXPECT_EQ(use->text(), QStringLiteral("&Use order %1").arg(offered));
  use->click();
  EXPECT_EQ(box("nPoles")->text(), QString::number(offered));
  EXPECT_TRUE(dialogs.messages().empty());

  // Save As writes the plot as the main plot is written, named after the answer file.
  dialogs.file(user("scan.png"));
  window->findChild<QPushButton*>("cmdSaveScan")->click();
  ASSERT_FALSE(dialogs.calls().empty());
  EXPECT_TRUE(dialogs.calls().back().request.fileName.endsWith("-orders.bmp"))
      << dialogs.calls().back().request.fileName.toStdString();
  EXPECT_EQ(QImage(user("scan.png")).size(), window->findChild<QWidget*>("orderScanView")->size());
}

// Save As offers the plot's four formats: the bitmap and PNG hold the view's picture, the SVG
// and PDF the drawing, whose SVG names each criterion in text.
TEST_F(OrderScanForm, SaveAsWritesBitmapPngSvgAndPdf) {
  chooseData(writeAr2(user("ar2.rda"), 200));
  chooseMethod("Auto-Correlation");
  box("nSkip")->setText("0");
  box("TotalLines")->setText("0");
  form->cmdOrderScan_Click();
  OrderScanWindow* window = scanWindow(*form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(scanDone(*window));
  const QSize size = window->findChild<QWidget*>("orderScanView")->size();
  const struct {
    const char* name;
    QByteArray start;
  } cases[] = {
      {"scan.bmp", "BM"}, {"scan.png", "\x89PNG"}, {"scan.svg", "<?xml"}, {"scan.pdf", "%PDF"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.file(user(c.name));
    window->findChild<QPushButton*>("cmdSaveScan")->click();
    EXPECT_TRUE(dialogs.messages().empty());
    QFile file(user(c.name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith(c.start));
    if (QByteArray(c.name).endsWith("bmp") || QByteArray(c.name).endsWith("png")) {
      EXPECT_EQ(QImage(user(c.name)).size(), size);
    }
    if (QByteArray(c.name).endsWith("svg")) {
      EXPECT_FALSE(bytes.contains("<image")) << "a picture, not the drawing";
      for (const char* criterion : {"FPE: ", "AIC: ", "MDL: ", "CAT: "})
        EXPECT_TRUE(bytes.contains(criterion)) << criterion;
    }
  }
}

TEST_F(OrderScanForm, AScanThatCannotRunSaysWhyInTheWindow) {
  chooseData(writeAr2(user("short.rda"), 3));
  chooseMethod("Covariance");
  box("nSkip")->setText("0");
  box("TotalLines")->setText("0");
  box("nPoints")->setText("64");
  box("EPS")->setText("0.0001");
  form->cmdOrderScan_Click();
  OrderScanWindow* window = scanWindow(*form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(scanDone(*window));
  EXPECT_EQ(window->picksText(),
            "No scan: samples = 3 is out of range: at least 4 samples are needed");
  EXPECT_FALSE(window->findChild<QPushButton*>("cmdUseOrder")->isEnabled());
}

TEST_F(OrderScanForm, AMissingDataFileIsNamedInTheWindow) {
  chooseData(writeAr2(user("gone.rda"), 100));
  QFile::remove(user("gone.rda"));
  chooseMethod("Auto-Correlation");
  form->cmdOrderScan_Click();
  OrderScanWindow* window = scanWindow(*form);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(scanDone(*window));
  EXPECT_TRUE(window->picksText().startsWith("No scan: The data file "));
  EXPECT_TRUE(window->picksText().contains("gone.rda")) << window->picksText().toStdString();
}
