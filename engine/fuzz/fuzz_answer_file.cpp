// Fuzzes the run-definition reader on a whole answer file. Line 2 is pointed at a small valid
// data file when the input's first byte is even, so that the reader gets past the data file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fatal.h"
#include "fuzz_support.h"
#include "spec_in.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto dir = fuzz::workDir();
  const auto dataPath = dir / "data.rda";
  static bool written = false;
  if (!written) {
    fuzz::writeFile(dataPath, "0 1\r\n1 0\r\n2 -1\r\n3 0\r\n4 1\r\n5 0\r\n6 -1\r\n7 0\r\n");
    written = true;
  }
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    const auto a = text.find('\n');
    const auto b = a == std::string::npos ? a : text.find('\n', a + 1);
    if (b != std::string::npos) text = text.substr(0, a + 1) + dataPath.string() + text.substr(b);
  }
  const auto answer = dir / "answer.1";
  fuzz::writeFile(answer, text);

  voxtrel::RunLog log;
  voxtrel::Run r(log);
  int npts = 0, npoints = 0;
  try {
    voxtrel::spec_info(r, answer.string(), npts, npoints);
  } catch (const voxtrel::FatalStop&) {
    // A read or range error: the stop is the reader's defined answer.
  }
  return 0;
}
