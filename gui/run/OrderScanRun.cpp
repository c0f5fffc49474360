#include "OrderScanRun.h"

#include <QDir>
#include <QTemporaryFile>

namespace tessivar {

bool orderScanMethod(const QString& methodEntry) {
  static const QStringList methods = {
      QStringLiteral("Auto-Correlation"), QStringLiteral("Burg"), QStringLiteral("Covariance"),
      QStringLiteral("Modified Covariance"), QStringLiteral("Lockheed (Autocorr/Burg)")};
  return methods.contains(methodEntry);
}

voxtrel::OrderScanResult scanAnswers(const QByteArray& answerText, int maxOrder,
                                     bool doublePrecision) {
  QTemporaryFile file(QDir::tempPath() + QStringLiteral("/tessivar-order-scan-XXXXXX.ans"));
  if (!file.open() || file.write(answerText) != answerText.size() || !file.flush()) {
    voxtrel::OrderScanResult failed;
    failed.status = voxtrel::EstimateStatus::Stopped;
    failed.message = QStringLiteral(
                         "The order scan's answer file cannot be written in %1 (%2); "
                         "free space there and scan again.")
                         .arg(QDir::toNativeSeparators(QDir::tempPath()), file.errorString())
                         .toStdString();
    return failed;
  }
  file.close();
  return voxtrel::order_scan_answer(
      QFile::encodeName(file.fileName()).toStdString(), maxOrder,
      doublePrecision ? voxtrel::Precision::Double : voxtrel::Precision::Single);
}

}  // namespace tessivar
