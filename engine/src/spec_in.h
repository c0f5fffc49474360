// The run-definition (answer) file reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "spectrum.h"

namespace voxtrel {

inline constexpr int kStatusOk = 6;  // the run-log unit: the reader succeeded

// Longest text kept from lines 1 and 2 (file names) and from lines 20 and 21 (notes).
inline constexpr std::size_t kPathWidth = 1024;
inline constexpr std::size_t kNoteWidth = 120;
inline constexpr std::size_t kNameWidth = 21;

// Reads the run-definition file fileNam, opens and counts the data file, checks the parameters
// against the method and echoes them to the log. Returns kStatusOk, -7 (run-definition file not
// opened) or -8 (data file not opened); npts and npoints receive lines 4 and 9 after adjustment.
// Read and range errors are fatal stops.
int spec_info(Run& r, std::string_view fileNam, int& npts, int& npoints);

// The second half of spec_info, once the run state holds the parameters (npts points used, an
// npoints transform): the method's notes and range checks, then the echo of the parameters,
// stamped with r.now. A range error is a fatal stop. Returns kStatusOk.
int spec_check(Run& r, int npts, int npoints);

// Cleans a file-name line: TABs become blanks, everything from the last "!" on is dropped,
// trailing blanks are trimmed; at most width characters are kept.
std::string split(std::string_view line, std::size_t width = kPathWidth);

// The method number selected by the first two characters of a method name (0 for none), and
// the canonical name it sets.
int selectMethod(std::string_view name, std::string* canonical = nullptr);

// The canonical name of a method number (blank-padded to kNameWidth; blanks for none).
std::string methodName(int method);

}  // namespace voxtrel
