// Helpers for the engine tests: temporary folders, answer files in the program's line layout,
// data files, and running the engine on them.
#pragma once

#include <complex>
#include <filesystem>
#include <string>
#include <vector>

#include "voxtrel/run.h"

namespace vtest {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

// The 21 lines of an answer file, each written "value  TAB TAB ! label" with CR LF.
struct Answer {
  std::string name = "test.1";
  std::string data = "data.rda";  // made absolute against the run folder by run()
  std::string skip = "0";
  std::string npts = "0";
  std::string type = "Real";
  std::string method = "Periodogram";
  std::string neg = "No";
  std::string npoints = "64";
  std::string npoles = "-999", nzeros = "-999", eps = "-999", mode = "-999", meqs = "-999",
              lpts = "-999", mlag = "-999", nit = "-999", per = "-999", window = "-999";
  std::string note1 = "first note", note2 = "second note";

  std::string text() const;
};

void writeFile(const fs::path& p, const std::string& contents);
std::string readFile(const fs::path& p);
// The records of a CR LF text file, without their line ends.
std::vector<std::string> readLines(const fs::path& p);

// "x y" records of real samples y[i] at x = t0 + i dt.
std::string realData(const std::vector<float>& y, double dt = 1.0, double t0 = 0.0);
// "x (re,im)" records of complex samples.
std::string complexData(const std::vector<std::complex<float>>& z, double dt = 1.0,
                        double t0 = 0.0);

// A fixed clock for byte-exact logs: 12/07/26 09:30:05.
std::tm fixedTime();

// Writes the answer file and the data file into dir and runs the engine on them, with the
// log at dir/~Tirelle.out.
voxtrel::RunResult run(const TempDir& dir, Answer answer, const std::string& dataText,
                       int capacity = -1);

// Peak frequencies of a dB spectrum: the local maxima (first point when it exceeds the second).
std::vector<float> peakFrequencies(const voxtrel::RunResult& res);

}  // namespace vtest
