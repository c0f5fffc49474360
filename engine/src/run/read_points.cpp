// read_points: the data points of a file-driven run, read from the data file the answer
// reader opened and counted.
#include <string>

#include "fatal.h"
#include "spec_est.h"
#include "stop_point.h"

namespace voxtrel {

void read_points(Run& r, int npts, float* x_array, float* y_array, cplx* signal_amp) {
  RunState& st = r.st;
  RunLog& log = r.log;
  if (!r.data.skipRecords(st.irec_skip)) {
    // Skip the header lines again and read the points.
    log.put(" ");
    log.put({" End-of-file reached while reading file.", st.dataFile});
    log.put(" ");
    log.put(" ");
    log.put(
        {" The header is longer than the file: 0 data points were read; at least 2 are needed."});
    fatalStop(" Error reading data file!");
  }
  st.ipts = 0;
  for (int i = 0; i < npts; ++i) {
    stopPointEvery(r, i);
    FreeReader::Status s;
    if (st.itype == 1) {
      s = r.data.readPair(x_array[i], y_array[i]);
    } else {
      s = r.data.readComplexPoint(x_array[i], signal_amp[i]);
    }
    if (s == FreeReader::Status::End || s == FreeReader::Status::Error) break;
    ++st.ipts;
  }
  r.data.reset(std::string());  // the data file is closed: all its points the run uses are read
}

}  // namespace voxtrel
