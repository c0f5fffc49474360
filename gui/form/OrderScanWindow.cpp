#include "OrderScanWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>
#include <memory>

#include "ArithmeticSetting.h"
#include "OrderScanRun.h"
#include "OrderScanView.h"
#include "PlotOutput.h"

namespace tessivar {

OrderScanWindow::OrderScanWindow(QByteArray answerText, const QString& method, Dialogs& dialogs,
                                 const QString& ansName, QString& saveDir, QWidget* parent)
    : QDialog(parent),
      answerText_(std::move(answerText)),
      dialogs_(dialogs),
      ansName_(ansName),
      saveDir_(saveDir) {
  setObjectName(QStringLiteral("OrderScanWindow"));
  setWindowTitle(QStringLiteral("Order scan - %1").arg(method));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  auto* maxLabel = new QLabel(QStringLiteral("Highest order:"));
  maxOrder_ = new QSpinBox;
  maxOrder_->setObjectName(QStringLiteral("maxOrder"));
  maxOrder_->setRange(0, kOrderScanLimit);
  maxOrder_->setSpecialValueText(QStringLiteral("min(n/2, 50)"));
  maxLabel->setBuddy(maxOrder_);
  scan_ = new QPushButton(QStringLiteral("&Scan"));
  scan_->setObjectName(QStringLiteral("cmdScan"));
  connect(scan_, &QPushButton::clicked, this, &OrderScanWindow::startScan);
  top->addWidget(maxLabel);
  top->addWidget(maxOrder_);
  top->addWidget(scan_);
  top->addStretch();
  layout->addLayout(top);

  view_ = new OrderScanView;
  view_->setObjectName(QStringLiteral("orderScanView"));
  layout->addWidget(view_, 1);
  picks_ = new QLabel;
  picks_->setObjectName(QStringLiteral("lblPicks"));
  picks_->setWordWrap(true);
  picks_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(picks_);
  auto* note = new QLabel(
      QStringLiteral("Each criterion is drawn scaled to its own range; a ring marks its minimum."));
  layout->addWidget(note);

  auto* bottom = new QHBoxLayout;
  auto* orderLabel = new QLabel(QStringLiteral("Order:"));
  order_ = new QSpinBox;
  order_->setObjectName(QStringLiteral("chosenOrder"));
  order_->setRange(1, kOrderScanLimit);
  orderLabel->setBuddy(order_);
  use_ = new QPushButton;
  use_->setObjectName(QStringLiteral("cmdUseOrder"));
  use_->setEnabled(false);
  connect(order_, &QSpinBox::valueChanged, this, &OrderScanWindow::updateUseButton);
  connect(use_, &QPushButton::clicked, this, &OrderScanWindow::useOrder);
  save_ = new QPushButton(QStringLiteral("Save &As ..."));
  save_->setObjectName(QStringLiteral("cmdSaveScan"));
  save_->setEnabled(false);
  connect(save_, &QPushButton::clicked, this, &OrderScanWindow::savePicture);
  auto* close = new QPushButton(QStringLiteral("Close"));
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  bottom->addWidget(orderLabel);
  bottom->addWidget(order_);
  bottom->addWidget(use_);
  bottom->addStretch();
  bottom->addWidget(save_);
  bottom->addWidget(close);
  layout->addLayout(bottom);
  updateUseButton();
  resize(640, 460);
}

void OrderScanWindow::startScan() {
  if (scanning_) return;
  scanning_ = true;
  scan_->setEnabled(false);
  use_->setEnabled(false);
  save_->setEnabled(false);
  picks_->setText(QStringLiteral("Scanning ..."));
  // The thread owns copies of what it needs and hands its result over in a shared object; the
  // window takes it when the thread has finished (a window closed before then takes nothing).
  auto result = std::make_shared<voxtrel::OrderScanResult>();
  const QByteArray text = answerText_;
  const int top = maxOrder_->value();
  // The fits in the arithmetic of the runs (View > Double-precision arithmetic).
  const bool wide = ArithmeticSetting::doublePrecision(QSettings());
  QThread* worker =
      QThread::create([result, text, top, wide] { *result = scanAnswers(text, top, wide); });
  connect(worker, &QThread::finished, this, [this, result] { showResult(*result); });
  connect(worker, &QThread::finished, worker, &QObject::deleteLater);
  worker->start();
}

void OrderScanWindow::showResult(const voxtrel::OrderScanResult& scan) {
  scanning_ = false;
  scan_->setEnabled(true);
  if (scan.status != voxtrel::EstimateStatus::Ok) {
    view_->setChart(OrderScanChart());
    picks_->setText(QStringLiteral("No scan: %1").arg(QString::fromStdString(scan.message)));
    use_->setEnabled(false);
    save_->setEnabled(false);
  } else {
    view_->setChart(OrderScanChart(scan));
    picks_->setText(QStringLiteral("%1 samples, orders 1 to %2. Picks: FPE %3, AIC %4, MDL %5, "
                                   "CAT %6.")
                        .arg(scan.samplesUsed)
                        .arg(scan.orders.size())
                        .arg(scan.picks.fpe)
                        .arg(scan.picks.aic)
                        .arg(scan.picks.mdl)
                        .arg(scan.picks.cat));
    order_->setMaximum(static_cast<int>(scan.orders.size()));
    if (scan.picks.aic > 0) order_->setValue(scan.picks.aic);
    use_->setEnabled(true);
    save_->setEnabled(true);
  }
  updateUseButton();
  emit scanFinished();
}

QString OrderScanWindow::picksText() const {
  return picks_->text();
}

int OrderScanWindow::offeredOrder() const {
  return order_->value();
}

const OrderScanChart& OrderScanWindow::chart() const {
  return view_->chart();
}

void OrderScanWindow::updateUseButton() {
  use_->setText(QStringLiteral("&Use order %1").arg(order_->value()));
}

void OrderScanWindow::useOrder() {
  emit orderChosen(order_->value());
}

void OrderScanWindow::savePicture() {
  // The name offered is the answer file's stem with "-orders": run.1 gives run-orders.bmp.
  const QString stem = QFileInfo(ansName_).fileName().section('.', 0, 0);
  // The plot's own Save As: a bitmap or PNG of the picture, or the drawing made again as an SVG
  // or PDF file in lines and text.
  PlotOutput(dialogs_).cmdFileSaveAs_Click(
      view_->picture(),
      (stem.isEmpty() ? QStringLiteral("scan") : stem) + QStringLiteral("-orders"), saveDir_,
      QCoreApplication::applicationDirPath(),
      [this](QPaintDevice& device) { return view_->drawVector(device); });
}

}  // namespace tessivar
