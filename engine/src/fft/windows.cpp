// Periodogram data windows. The three-term cosine windows are
//   w(i) = a0 - a1 cos(theta) + a2 cos(2 theta),  theta = 2 pi i / (n - 1),  i = 1..n,
// evaluated in double precision and stored in the working precision; the triangle ("Barlett") rises
// as 2 i / (n - 1) to the middle and falls as 2 - 2 i / (n - 1) after it.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "estimators.h"
#include "fortran_format.h"

namespace voxtrel {

namespace {

// A window name equals a table name when the rest of its 21 characters are blanks.
bool equalsName(const std::string& name, const char* table) {
  return fmt::padRight(name, 21) == fmt::padRight(table, 21);
}

// The last cosine window formed, kept by the thread: the two cosines of every point are a good
// share of a short periodogram's work, and runs of one length and window repeat. Windows longer
// than kKeptWindow points (16 KiB of floats) are not kept: a long run holds no more memory
// between runs than it did.
constexpr int kKeptWindow = 1 << 12;

template <class Real>
struct KeptWindow {
  int n = -1;
  double a0 = 0, a1 = 0, a2 = 0;
  std::vector<Real> weights;
};

template <class Real>
void cosineWindow(Real* window, int n, double a0, double a1, double a2) {
  thread_local KeptWindow<Real> kept;
  if (kept.n == n && kept.a0 == a0 && kept.a1 == a1 && kept.a2 == a2) {
    std::copy(kept.weights.begin(), kept.weights.end(), window);
    return;
  }
  const double pi = 4.0 * std::atan(1.0);
  for (int i = 1; i <= n; ++i) {
    const double theta = 2.0 * pi * i / (n - 1);
    window[i - 1] = static_cast<Real>(a0 - a1 * std::cos(theta) + a2 * std::cos(2.0 * theta));
  }
  if (n > 0 && n <= kKeptWindow) {
    kept.weights.assign(window, window + n);
    kept.n = n;
    kept.a0 = a0;
    kept.a1 = a1;
    kept.a2 = a2;
  }
}

}  // namespace

template <class Real>
void window_weights(Run& r, Real* window, int npoints, const std::string& window_name) {
  const int n = npoints;
  if (equalsName(window_name, "Hanning")) {
    cosineWindow(window, n, static_cast<double>(0.40897f), 0.5, static_cast<double>(0.09103f));
  } else if (equalsName(window_name, "Hamming")) {
    cosineWindow(window, n, 0.4243801, 0.4973406, 0.0782793);
  } else if (equalsName(window_name, "Blackman")) {
    cosineWindow(window, n, 7938.0 / 18608.0, 9240.0 / 18608.0, 1430.0 / 18608.0);
  } else if (window_name.compare(0, 7, "Rectang") == 0) {
    for (int i = 0; i < n; ++i) window[i] = Real(1);
  } else if (equalsName(window_name, "Barlett")) {
    for (int i = 1; i <= n / 2; ++i) window[i - 1] = static_cast<Real>(2.0 * i / (n - 1));
    for (int i = n / 2 + 1; i <= n; ++i) window[i - 1] = static_cast<Real>(2.0 - 2.0 * i / (n - 1));
  } else {
    RunLog& log = r.log;
    log.put(" Window name in error!  Name must be one of following:");
    log.put("    Rectangle, Barlett, Hanning, Hamming, or Blackman.");
    log.blank();
    log.blank();
    log.raw(std::string(72, '-'));
    log.raw("         Window name error");
    log.blank();
    log.raw(std::string(72, '-'));
    log.blank();
    // The run goes on with the rectangular window.
    for (int i = 0; i < n; ++i) window[i] = Real(1);
  }
}

template void window_weights<float>(Run&, float*, int, const std::string&);
template void window_weights<double>(Run&, double*, int, const std::string&);

}  // namespace voxtrel
