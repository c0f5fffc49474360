// The order scan's window: the highest order to scan (the default min(n/2, 50)), the four
// criteria against the order with each minimum marked, the picks, and "Use order k", which
// hands the chosen order back to the form; "Save As ..." saves the plot as the main plot is
// saved (PlotOutput: BMP, PNG, or the drawing as SVG or PDF). The scan runs on a thread of its own,
// so the window and the form stay responsive while the engine works.
#pragma once

#include <QByteArray>
#include <QDialog>

#include "Dialogs.h"
#include "OrderScanChart.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace tessivar {

class OrderScanView;

class OrderScanWindow : public QDialog {
  Q_OBJECT

 public:
  // answerText: the form's answers as an answer file, its data file named by an absolute path;
  // ansName names the saved picture (run.1 offers run-orders.bmp); saveDir is the save dialog's
  // folder, kept by the caller.
  OrderScanWindow(QByteArray answerText, const QString& method, Dialogs& dialogs,
                  const QString& ansName, QString& saveDir, QWidget* parent = nullptr);

  // Scans up to the highest order shown (0: the default). Nothing happens while a scan runs.
  void startScan();
  bool scanning() const { return scanning_; }
  // Shows a finished scan: the plot, the picks, the order offered (AIC's pick), or the reason.
  void showResult(const voxtrel::OrderScanResult& scan);
  QString picksText() const;
  int offeredOrder() const;
  const OrderScanChart& chart() const;

 signals:
  void orderChosen(int order);  // "Use order k"
  void scanFinished();

 private:
  void useOrder();
  void updateUseButton();
  void savePicture();

  QByteArray answerText_;
  Dialogs& dialogs_;
  QString ansName_;
  QString& saveDir_;
  bool scanning_ = false;
  QSpinBox* maxOrder_ = nullptr;
  QSpinBox* order_ = nullptr;
  QPushButton* scan_ = nullptr;
  QPushButton* use_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* picks_ = nullptr;
  OrderScanView* view_ = nullptr;
};

}  // namespace tessivar
