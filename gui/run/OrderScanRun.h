// The order scan of the form's answers, without a window: which methods it serves, and one scan
// of the answers' data and method by the engine. The scan touches no widget and no state of
// the form, so it may run away from the window's thread.
#pragma once

#include <QByteArray>
#include <QString>

#include "voxtrel/order_scan.h"

namespace tessivar {

// The highest AR order the engine fits, and so the highest order a scan can reach.
inline constexpr int kOrderScanLimit = 210;

// True for the methods list's entries whose AR order the scan judges: Auto-Correlation, Burg,
// Covariance, Modified Covariance and Lockheed (its autocorrelation part).
bool orderScanMethod(const QString& methodEntry);

// Scans the data and method of an answer file's text up to maxOrder (0: min(n/2, 50)). The text
// is written to a temporary answer file of its own, which is removed afterwards; its data file
// should be named by an absolute path. A temporary file that cannot be written gives status
// Stopped with the reason. doublePrecision: the fits in double precision.
voxtrel::OrderScanResult scanAnswers(const QByteArray& answerText, int maxOrder,
                                     bool doublePrecision = false);

}  // namespace tessivar
