// order_scan_answer: the order scan of an answer file's data and method. The file is read and
// checked by the run's own reader and the data points by the run's own loader, with the log
// kept in memory, so the scan sees exactly the samples a run of that file would use.
#include <string>
#include <vector>

#include "fatal.h"
#include "spec_est.h"
#include "spec_in.h"
#include "voxtrel/order_scan.h"

namespace voxtrel {

OrderScanResult order_scan_answer(std::string_view answerFile, int maxOrder, Precision precision) {
  OrderScanResult res;
  RunLog log;
  try {
    Run r(log);
    int npts = 0, nPoints = 0;
    const int k = spec_info(r, answerFile, npts, nPoints);
    if (k < 1) {
      res.status = EstimateStatus::Stopped;
      res.message = k == kStatusInputFileError
                        ? "The answer file " + std::string(answerFile) + " cannot be opened"
                        : "The data file " + r.st.dataFile + " named in " +
                              std::string(answerFile) + " cannot be opened";
      res.log = log.memory();
      return res;
    }
    if (nPoints < npts) npts = nPoints;
    const auto size = static_cast<std::size_t>(npts > 0 ? npts : 0);
    std::vector<float> x(size), y(size);
    std::vector<cplx> z(size);
    read_points(r, npts, x.data(), y.data(), z.data());
    const auto used = static_cast<std::size_t>(r.st.ipts);
    OrderScanParams p;
    p.method = static_cast<EstimateMethod>(r.st.method);
    p.maxOrder = maxOrder;
    p.precision = precision;
    p.eps = r.st.eps;
    if (r.st.itype == 1) return order_scan(p, std::span<const float>(y.data(), used));
    return order_scan(p, std::span<const std::complex<float>>(z.data(), used));
  } catch (...) {
    res.status = EstimateStatus::Stopped;
    res.message = stopReason("scan");
  }
  res.log = log.memory();
  return res;
}

}  // namespace voxtrel
