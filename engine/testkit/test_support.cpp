#include "test_support.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace vtest {

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    path_ = fs::temp_directory_path() / ("voxtrel-test-" + std::to_string(rd()));
    if (fs::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string Answer::text() const {
  auto line = [](const std::string& value, const std::string& label) {
    return value + "  \t\t! " + label + "\r\n";
  };
  std::string s;
  s += line(name, "18; December 07, 2026 @ 9:30 AM");
  s += line(data, "1. File name");
  s += line(skip, "2. Skip");
  s += line(npts, "3. Total");
  s += line(type, "4. Data type");
  s += line("-999", "5. x-Data format");
  s += line(method, "6. Method");
  s += line(neg, "7. Negative frequencies");
  s += line(npoints, "8. nPoints");
  s += line(npoles, "9. nPoles");
  s += line(nzeros, "10. nZeros");
  s += line(eps, "11. EPS");
  s += line(mode, "12. Mode");
  s += line(meqs, "13. M equations");
  s += line(lpts, "14. L points");
  s += line(mlag, "15. M lag");
  s += line(nit, "16. NIT");
  s += line(per, "17. PER");
  s += line(window, "18. Windows");
  s += line(note1, "20. Note1");
  s += line(note2, "    Note2");
  return s;
}

void writeFile(const fs::path& p, const std::string& contents) {
  std::ofstream f(p, std::ios::binary);
  f << contents;
}

std::string readFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::vector<std::string> readLines(const fs::path& p) {
  const std::string s = readFile(p);
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < s.size()) {
    auto end = s.find("\r\n", start);
    if (end == std::string::npos) end = s.size();
    out.push_back(s.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

std::string realData(const std::vector<float>& y, double dt, double t0) {
  std::string s;
  char buf[96];
  for (std::size_t i = 0; i < y.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%.9g %.9g\r\n", t0 + static_cast<double>(i) * dt,
                  static_cast<double>(y[i]));
    s += buf;
  }
  return s;
}

std::string complexData(const std::vector<std::complex<float>>& z, double dt, double t0) {
  std::string s;
  char buf[128];
  for (std::size_t i = 0; i < z.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%.9g (%.9g,%.9g)\r\n", t0 + static_cast<double>(i) * dt,
                  static_cast<double>(z[i].real()), static_cast<double>(z[i].imag()));
    s += buf;
  }
  return s;
}

std::tm fixedTime() {
  std::tm t{};
  t.tm_year = 126;
  t.tm_mon = 11;
  t.tm_mday = 7;
  t.tm_hour = 9;
  t.tm_min = 30;
  t.tm_sec = 5;
  return t;
}

voxtrel::RunResult run(const TempDir& dir, Answer answer, const std::string& dataText,
                       int capacity) {
  const fs::path dataPath = dir / answer.data;
  writeFile(dataPath, dataText);
  answer.data = dataPath.string();
  const fs::path answerPath = dir / answer.name;
  writeFile(answerPath, answer.text());
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  options.capacity = capacity;
  options.now = fixedTime();
  return voxtrel::run(answerPath.string(), options);
}

std::vector<float> peakFrequencies(const voxtrel::RunResult& res) {
  std::vector<float> out;
  const auto& y = res.spectrum;
  const std::size_t n = y.size();
  if (n >= 2 && y[0] > y[1]) out.push_back(res.x[0]);
  for (std::size_t i = 1; i + 1 < n; ++i) {
    if (y[i - 1] < y[i] && y[i] > y[i + 1]) out.push_back(res.x[i]);
  }
  return out;
}

}  // namespace vtest
