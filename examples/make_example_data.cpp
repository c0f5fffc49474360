// make_example_data: writes the data files of the demonstration examples into one folder.
//
//   make_example_data OUTPUT_FOLDER
//
// Every file is made from a fixed seed, so every build writes the same samples. The noise comes
// from std::mt19937 (whose sequence the C++ standard fixes) turned into Gaussian values by the
// Box-Muller formula written out here, not by std::normal_distribution, whose output differs
// between standard libraries.
//
// Each file has two header lines (the examples skip them) and then one sample per CR LF record:
// "x y" for real data, "x (re,im)" for complex data, x being the sample time in seconds. All
// signals are sampled at 1000 Hz, so the plots read in Hz.
#include <cmath>
#include <complex>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kDt = 0.001;  // seconds between samples: 1000 samples per second
constexpr double kTwoPi = 2.0 * std::numbers::pi;

class Noise {
 public:
  explicit Noise(unsigned seed) : gen_(seed) {}
  // One standard normal value (Box-Muller; the second value of each pair is dropped so that
  // the sequence does not depend on how calls interleave).
  double gauss() {
    const double u1 = (static_cast<double>(gen_()) + 1.0) / 4294967297.0;
    const double u2 = static_cast<double>(gen_()) / 4294967296.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(kTwoPi * u2);
  }

 private:
  std::mt19937 gen_;
};

double tone(double hz, int i, double phase = 0.0) {
  return std::sin(kTwoPi * hz * i * kDt + phase);
}

std::complex<double> ctone(double hz, int i, double phase = 0.0) {
  return std::polar(1.0, kTwoPi * hz * i * kDt + phase);
}

// Second-order section coefficients c1, c2 of 1 + c1 z^-1 + c2 z^-2 with a root pair of radius r
// at frequency hz.
void rootPair(double hz, double r, double& c1, double& c2) {
  c1 = -2.0 * r * std::cos(kTwoPi * hz * kDt);
  c2 = r * r;
}

bool writeFile(const std::filesystem::path& path, const std::string& header,
               const std::string& body) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (f == nullptr) {
    std::fprintf(stderr, "make_example_data: cannot write %s\n", path.string().c_str());
    return false;
  }
  const bool ok = std::fputs(header.c_str(), f) >= 0 && std::fputs(body.c_str(), f) >= 0;
  if (std::fclose(f) != 0 || !ok) {
    std::fprintf(stderr, "make_example_data: writing %s failed\n", path.string().c_str());
    return false;
  }
  return true;
}

std::string realRecords(const std::vector<double>& y) {
  std::string s;
  char buf[80];
  for (std::size_t i = 0; i < y.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%.3f %.7e\r\n", static_cast<double>(i) * kDt, y[i]);
    s += buf;
  }
  return s;
}

std::string complexRecords(const std::vector<std::complex<double>>& z) {
  std::string s;
  char buf[96];
  for (std::size_t i = 0; i < z.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%.3f (%.7e,%.7e)\r\n", static_cast<double>(i) * kDt,
                  z[i].real(), z[i].imag());
    s += buf;
  }
  return s;
}

std::string header(const std::string& what, bool complex) {
  return "Tessivar example data: " + what + "\r\n" +
         (complex ? "time in s, then (re,im)\r\n" : "time in s, then value\r\n");
}

// Zero padding: 32 samples of two tones, 110 Hz and 290 Hz at half the amplitude. The record
// is 32 ms long, so the tones lie between the 31.25 Hz bins of an unpadded transform.
std::vector<double> zeroPad() {
  std::vector<double> y(32);
  for (int i = 0; i < 32; ++i) y[i] = tone(110.0, i) + 0.5 * tone(290.0, i, 0.7);
  return y;
}

// Two close tones, 200 Hz and 225 Hz, in white noise about 27 dB below each: 96 samples (96 ms), so
// the tones are 2.4 periodogram bins apart and the AR methods have a clear task.
std::vector<double> closeTones() {
  Noise noise(1995);
  std::vector<double> y(96);
  for (int i = 0; i < 96; ++i)
    y[i] = tone(200.0, i, 0.3) + tone(225.0, i, 1.9) + 0.03 * noise.gauss();
  return y;
}

// Complex close tones, +150 Hz and +170 Hz, in complex noise, 80 samples (80 ms, so the tones
// are 1.6 periodogram bins apart): the Burg example.
std::vector<std::complex<double>> complexCloseTones() {
  Noise noise(2024);
  std::vector<std::complex<double>> z(80);
  for (int i = 0; i < 80; ++i)
    z[i] = ctone(150.0, i) + ctone(170.0, i, 1.6) +
           0.02 * std::complex<double>(noise.gauss(), noise.gauss());
  return z;
}

// Complex data with a strong tone at +150 Hz and a weak one at +190 Hz, 1/100 of its amplitude
// (40 dB less power): the leakage of an unwindowed transform hides the weak tone, a data window
// shows it. 256 samples, a little complex noise far below both; nothing at negative frequencies.
std::vector<std::complex<double>> strongAndWeak() {
  Noise noise(1988);
  std::vector<std::complex<double>> z(256);
  for (int i = 0; i < 256; ++i)
    z[i] = ctone(150.0, i, 0.4) + 0.01 * ctone(190.0, i, 1.0) +
           1.0e-5 * std::complex<double>(noise.gauss(), noise.gauss());
  return z;
}

// A filtered random process: white noise through 1 / A(z), A with a root pair of radius 0.95 at
// 100 Hz. The true spectrum is one broad smooth hump; 512 samples make a ragged periodogram that
// the lag window and the minimum-variance filter smooth.
std::vector<double> resonance() {
  Noise noise(77);
  double a1, a2;
  rootPair(100.0, 0.95, a1, a2);
  std::vector<double> y(512);
  double y1 = 0, y2 = 0;
  for (int i = -200; i < 512; ++i) {  // 200 samples to forget the zero start
    const double v = noise.gauss() - a1 * y1 - a2 * y2;
    y2 = y1;
    y1 = v;
    if (i >= 0) y[i] = v;
  }
  return y;
}

// Moving-average data: white noise through B(z) with a root pair of radius 0.9 at 300 Hz, so the
// spectrum has a deep valley at 300 Hz and no peaks at all. 500 samples.
std::vector<double> movingAverage() {
  Noise noise(4242);
  double b1, b2;
  rootPair(300.0, 0.9, b1, b2);
  std::vector<double> e(502);
  for (auto& v : e) v = noise.gauss();
  std::vector<double> y(500);
  for (int i = 0; i < 500; ++i) y[i] = e[i + 2] + b1 * e[i + 1] + b2 * e[i];
  return y;
}

// ARMA(2,2) data: white noise through B(z) / A(z), poles of radius 0.95 at 100 Hz (a peak) and
// zeros of radius 0.9 at 300 Hz (a notch). 800 samples.
std::vector<double> armaPeakNotch() {
  Noise noise(31415);
  double a1, a2, b1, b2;
  rootPair(100.0, 0.95, a1, a2);
  rootPair(300.0, 0.9, b1, b2);
  std::vector<double> y(800);
  double e1 = 0, e2 = 0, y1 = 0, y2 = 0;
  for (int i = -300; i < 800; ++i) {
    const double e = noise.gauss();
    const double v = e + b1 * e1 + b2 * e2 - a1 * y1 - a2 * y2;
    e2 = e1;
    e1 = e;
    y2 = y1;
    y1 = v;
    if (i >= 0) y[i] = v;
  }
  return y;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_example_data OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec) {
    std::fprintf(stderr, "make_example_data: cannot create %s: %s\n", out.string().c_str(),
                 ec.message().c_str());
    return 1;
  }
  bool ok = true;
  ok &= writeFile(out / "ZeroPad.rda", header("110 Hz and 290 Hz, 32 samples", false),
                  realRecords(zeroPad()));
  ok &= writeFile(out / "Real.Rda", header("200 Hz and 225 Hz in noise, 96 samples", false),
                  realRecords(closeTones()));
  ok &= writeFile(out / "TwoTone.cda",
                  header("+150 Hz and +170 Hz in complex noise, 80 samples", true),
                  complexRecords(complexCloseTones()));
  ok &= writeFile(out / "Weak.cda",
                  header("+150 Hz and a 100 times weaker +190 Hz, 256 samples", true),
                  complexRecords(strongAndWeak()));
  ok &= writeFile(out / "Hump.rda", header("noise through a 100 Hz resonance, 512 samples", false),
                  realRecords(resonance()));
  ok &= writeFile(out / "MA.rda", header("moving average, valley at 300 Hz, 500 samples", false),
                  realRecords(movingAverage()));
  ok &= writeFile(out / "ARMA.rda",
                  header("ARMA(2,2), peak at 100 Hz, notch at 300 Hz, 800 samples", false),
                  realRecords(armaPeakNotch()));
  return ok ? 0 : 1;
}
