// Fuzzes the free-format reader with arbitrary text: every kind of read, in an order chosen by
// the input's first byte, until the text is used up.
#include <complex>
#include <cstddef>
#include <cstdint>
#include <string>

#include "free_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned order = data[0];
  voxtrel::FreeReader in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  for (int step = 0; step < 4096 && !in.atEnd(); ++step) {
    int i = 0;
    float x = 0, y = 0;
    std::string s;
    std::complex<float> c;
    switch ((order >> (step % 4 * 2)) & 3u) {
      case 0: in.readInt(i); break;
      case 1: in.readReal(x); break;
      case 2: in.readText(s); break;
      default:
        if (step % 2) {
          in.readPair(x, y);
        } else {
          in.readComplexPoint(x, c);
        }
    }
    if (step % 7 == 6) in.readRecord(s);
  }
  in.rewind();
  in.skipRecords(3);
  return 0;
}
