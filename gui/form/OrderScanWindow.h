// The order scan's window: the highest order to scan (the default min(n/2, 50)), the four
// criteria against the order with each minimum marked, the picks, and "Use order k", which
// hands the chosen order back to the form. The scan runs on a thread of its own, so the window
// and the form stay responsive while the engine works.
#pragma once

#include <QByteArray>
#include <QDialog>

#include "OrderScanChart.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace tessivar {

class OrderScanView;

class OrderScanWindow : public QDialog {
  Q_OBJECT

 public:
  // answerText: the form's answers as an answer file, its data file named by an absolute path.
  OrderScanWindow(QByteArray answerText, const QString& method, QWidget* parent = nullptr);

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

  QByteArray answerText_;
  bool scanning_ = false;
  QSpinBox* maxOrder_ = nullptr;
  QSpinBox* order_ = nullptr;
  QPushButton* scan_ = nullptr;
  QPushButton* use_ = nullptr;
  QLabel* picks_ = nullptr;
  OrderScanView* view_ = nullptr;
};

}  // namespace tessivar
