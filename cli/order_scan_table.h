// The order scan's output for voxtrel-run --order-scan: the table on standard output and the
// same table as CSV.
#pragma once

#include <string>

#include "voxtrel/order_scan.h"

namespace cli {

// The method's name as the table's title gives it.
const char* scanMethodName(voxtrel::EstimateMethod method);

// Prints the title, the table (order, rho, FPE, AIC, MDL, CAT) and the picks.
void printOrderScan(const voxtrel::OrderScanResult& scan);

// Writes order,rho,FPE,AIC,MDL,CAT rows to path; false (with the reason on standard error)
// when the file cannot be written completely.
bool writeOrderScanCsv(const voxtrel::OrderScanResult& scan, const std::string& path);

}  // namespace cli
