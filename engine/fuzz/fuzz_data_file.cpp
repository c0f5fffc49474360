// Fuzzes the data-file reading of a run: the input is the data file of a periodogram run of
// at most 64 points, real or complex by the first byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "voxtrel/run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto dir = fuzz::workDir();
  const auto dataPath = dir / "data.dat";
  fuzz::writeFile(dataPath, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  const char* type = data[0] & 1 ? "Complex" : "Real";
  const char* neg = data[0] & 2 ? "Yes" : "No";
  const int skip = (data[0] >> 2) & 3;
  std::string answer = "fuzz.1\r\n" + dataPath.string() + "\r\n" + std::to_string(skip) +
                       "\r\n0\r\n" + type + "\r\n-999\r\nPeriodogram\r\n" + neg + "\r\n64\r\n";
  for (int i = 0; i < 9; ++i) answer += "-999\r\n";
  answer += "Hanning\r\nnote\r\nnote\r\n";
  const auto answerPath = dir / "data.1";
  fuzz::writeFile(answerPath, answer);
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  voxtrel::run(answerPath.string(), options);
  return 0;
}
