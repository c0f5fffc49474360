// Fuzzes whole runs: the first bytes choose the method, the data type, nPoints (at most 256),
// the orders and lengths (small), EPS and the mode; the rest is the data file. Every method
// runs end to end on whatever data the fuzzer makes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "voxtrel/run.h"

namespace {

const char* const kMethods[] = {"Auto-Correlation", "Burg", "Covariance", "Modified Covariance",
                                "MYWE", "LSMYWE", "Mayne-Firoozan", "Durbin", "Periodogram",
                                "Blackman-Tukey", "MVSE", "Lockheed (Autocorr/Burg)", "Akaike",
                                "RMLE", "-Select-", "Hanning"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  const auto dir = fuzz::workDir();
  const auto dataPath = dir / "run.dat";
  fuzz::writeFile(dataPath, std::string(reinterpret_cast<const char*>(data) + 8, size - 8));
  auto num = [&](int i, int mod) { return std::to_string(data[i] % mod); };
  const char* method = kMethods[data[0] % 16];
  const char* type = data[1] & 1 ? "Complex" : "Real";
  const char* neg = data[1] & 2 ? "Yes" : "No";
  const int npoints = 1 << (data[1] >> 2) % 9;  // 1 .. 256
  const char* eps = data[1] & 0x80 ? "1.e-15" : "0.0";
  std::string answer = "fuzz.1\r\n" + dataPath.string() + "\r\n0\r\n" + num(2, 300) + "\r\n" +
                       type + "\r\n-999\r\n" + method + "\r\n" + neg + "\r\n" +
                       std::to_string(npoints) + "\r\n";
  answer += num(3, 24) + "\r\n" + num(4, 12) + "\r\n" + eps + "\r\n" + num(5, 2) + "\r\n" +
            num(6, 64) + "\r\n" + num(7, 64) + "\r\n" + num(3, 40) + "\r\n" + num(4, 6) + "\r\n" +
            "0.5\r\nHamming\r\nnote\r\nnote\r\n";
  const auto answerPath = dir / "run.1";
  fuzz::writeFile(answerPath, answer);
  voxtrel::RunOptions options;
  options.logPath = dir / "~Tirelle.out";
  voxtrel::run(answerPath.string(), options);
  return 0;
}
