// frmMain's "Order scan..." button: the form's answers, as they stand, go to the order scan's
// window as an answer file of their own; the window's "Use order k" fills nPoles.
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>

#include "OrderScanRun.h"
#include "OrderScanWindow.h"
#include "frmMain.h"
#include "mdlCommonFiles.h"

namespace tessivar {

void frmMain::cmdOrderScan_Click() {
  if (!PutAnswers()) return;
  const QString method = Methods->currentText();
  if (!orderScanMethod(method)) return;
  if (s_.Answers[1].isEmpty()) {
    dialogs_.message(QStringLiteral("Question 1 names no data file. Choose the data file, then "
                                    "press 'Order scan...' again."),
                     QStringLiteral("Order scan"), Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    timeData->setFocus();
    return;
  }
  AnswerState answers = s_;
  // The data file as the engine finds it from the user folder; the scan's answer file lives
  // elsewhere. The orders are the scan's own: nPoles and nZeros only need to pass the reader.
  answers.Answers[1] = QDir::current().absoluteFilePath(s_.Answers[1]);
  answers.Answers[9] = QStringLiteral("1");
  answers.Answers[10] = QStringLiteral("0");
  const QByteArray text =
      ansFileText(s_.AnsName, answers, requiredList(method), QDateTime::currentDateTime());
  auto* window = new OrderScanWindow(text, method, dialogs_, s_.AnsName, dialogDir_, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &OrderScanWindow::orderChosen, this,
          [this](int order) { nPoles->setText(QString::number(order)); });
  window->show();
  window->startScan();
}

}  // namespace tessivar
