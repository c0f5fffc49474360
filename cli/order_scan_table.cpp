// The order scan's table: one row per order, the four criteria beside the prediction-error
// power, and the order each criterion picks (its minimum).
#include "order_scan_table.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace cli {

const char* scanMethodName(voxtrel::EstimateMethod method) {
  switch (method) {
    case voxtrel::EstimateMethod::YuleWalker:
      return "autocorrelation";
    case voxtrel::EstimateMethod::Burg:
      return "Burg";
    case voxtrel::EstimateMethod::Covariance:
      return "covariance";
    case voxtrel::EstimateMethod::ModifiedCovariance:
      return "modified covariance";
    case voxtrel::EstimateMethod::Lockheed:
      return "Lockheed (its autocorrelation AR part)";
    default:
      return "unknown";
  }
}

void printOrderScan(const voxtrel::OrderScanResult& s) {
  std::printf("order scan: %s method, %d samples\n", scanMethodName(s.method), s.samplesUsed);
  std::printf("%5s %14s %14s %14s %14s %14s\n", "order", "rho", "FPE", "AIC", "MDL", "CAT");
  for (std::size_t i = 0; i < s.orders.size(); ++i)
    std::printf("%5d %14.7g %14.7g %14.7g %14.7g %14.7g\n", s.orders[i], s.rho[i], s.fpe[i],
                s.aic[i], s.mdl[i], s.cat[i]);
  std::printf("picks: FPE %d, AIC %d, MDL %d, CAT %d\n", s.picks.fpe, s.picks.aic, s.picks.mdl,
              s.picks.cat);
}

bool writeOrderScanCsv(const voxtrel::OrderScanResult& s, const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) {
    std::fprintf(stderr, "voxtrel-run: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  std::fprintf(f, "order,rho,FPE,AIC,MDL,CAT\n");
  for (std::size_t i = 0; i < s.orders.size(); ++i)
    std::fprintf(f, "%d,%.9g,%.9g,%.9g,%.9g,%.9g\n", s.orders[i], s.rho[i], s.fpe[i], s.aic[i],
                 s.mdl[i], s.cat[i]);
  // A file cut short (a full disk) is reported, not taken for the whole table.
  const bool written = std::fflush(f) == 0 && !std::ferror(f);
  const int error = errno;
  if (std::fclose(f) != 0 || !written) {
    std::fprintf(stderr, "voxtrel-run: %s could not be written completely: %s\n", path.c_str(),
                 std::strerror(written ? errno : error));
    return false;
  }
  return true;
}

}  // namespace cli
