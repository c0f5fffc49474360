// spec_info: reads the 21-line run-definition file into the run state, opens and counts the
// data file, raises nPoints to a power of two, then (spec_check) checks the parameters of the
// chosen method and echoes them to the run log.
#include <array>
#include <filesystem>
#include <initializer_list>
#include <utility>

#include "estimators.h"
#include "fatal.h"
#include "file_text.h"
#include "fortran_format.h"
#include "param_limits.h"
#include "spec_in.h"
#include "stop_point.h"
#include "voxtrel/run.h"

namespace voxtrel {

namespace {

using fmt::I;

const std::string kDashes70(70, '-');
const std::string kDashes72(72, '-');
const std::string kDashes45(45, '-');
const std::string kIndent9(9, ' ');
const std::string kIndent22(22, ' ');

struct MethodEntry {
  const char* entry;
  const char* canonical;
};

// The method table, in the order it is searched; the last entry whose first two characters
// match wins.
constexpr std::array<MethodEntry, 14> kMethods{{
    {"Auto-correlation", "AUTO-CORRELATION"},
    {"Burg", "BURG"},
    {"RMLE", "RMLE"},
    {"Covariance", "COVARIANCE"},
    {"Modified Covariance", "Modified COVARIANCE"},
    {"MYWE", "MYWE"},
    {"LSMYWE", "LSMYWE"},
    {"Akaike", "AKAIKE"},
    {"MayneFir", "MAYNEFIR"},
    {"Durbin", "DURBIN"},
    {"Periodogram", "PERIODOGRAM"},
    {"Blackman-Tukey", "BLACKTUKEY"},
    {"MVSE", "MVSE"},
    {"Lockheed (Auto./Burg)", "Lockheed (Auto./Burg)"},
}};

// The block written before a parameter range stop.
void rangeErrorBlock(RunLog& log, std::initializer_list<std::pair<const char*, long long>> rows,
                     const std::string& rule, bool blankAfterRule, int width = 6) {
  log.blank();
  log.blank();
  log.raw("  " + kDashes70);
  log.raw(kIndent9 + "Input ERROR: parameter outside" + " of range:");
  for (const auto& [label, value] : rows) log.raw(kIndent22 + label + I(value, width));
  log.blank();
  log.raw(kIndent22 + rule);
  if (blankAfterRule) log.blank();
  log.raw("  " + kDashes70);
  log.blank();
  log.blank();
}

std::string twoDigits(int v) {
  const char d[3] = {static_cast<char>('0' + (v / 10) % 10), static_cast<char>('0' + v % 10), 0};
  return d;
}

}  // namespace

std::string split(std::string_view line, std::size_t width) {
  std::string s(line.substr(0, width));
  for (char& c : s) {
    if (c == '\t') c = ' ';
  }
  const auto bang = s.rfind('!');
  if (bang != std::string::npos) s.erase(bang);
  return std::string(fmt::trimRight(s));
}

int selectMethod(std::string_view name, std::string* canonical) {
  const std::string key = fmt::padRight(name, 2);
  int method = 0;
  for (std::size_t i = 0; i < kMethods.size(); ++i) {
    if (key.compare(0, 2, kMethods[i].entry, 2) == 0) {
      method = static_cast<int>(i) + 1;
      if (canonical) *canonical = fmt::padRight(kMethods[i].canonical, kNameWidth);
    }
  }
  return method;
}

std::string methodName(int method) {
  if (method < 1 || method > static_cast<int>(kMethods.size()))
    return fmt::padRight("", kNameWidth);
  return fmt::padRight(kMethods[static_cast<std::size_t>(method - 1)].canonical, kNameWidth);
}

int spec_info(Run& r, std::string_view fileNam, int& npts, int& npoints) {
  RunState& st = r.st;
  RunLog& log = r.log;

  // Reset the run parameters.
  st.fileIn.clear();
  st.method_name = fmt::padRight("", kNameWidth);
  st.window_name = fmt::padRight("None", kNameWidth);
  st.eps = st.per = 0;
  st.l_pts = st.method = st.mode = st.m_eqs = st.m_lags = st.nit = st.npoles = st.nzeros = 0;

  const std::string path(fileNam);
  TextFile answerFile(path);
  if (!answerFile.isOpen()) {
    log.put(" ");
    log.put({" ERROR while opening Input file: ", path});
    log.put(" **************  End of run *******************");
    log.put(" ");
    log.put(" ");
    return kStatusInputFileError;
  }
  // Read as a stream: only as far as its 21 lines, whatever follows them.
  FreeReader in(std::move(answerFile));

  // Every read is announced by a trace line, so the last one names a line that failed.
  int line = 0;
  auto trace = [&] {
    ++line;
    log.raw(" \xAF Line " + I(line, 3));
  };
  auto readError = [&]() {
    fatalStop(" Error reading line " + std::to_string(line) + " of the run-definition file");
  };
  auto record = [&](std::string& out) {
    trace();
    if (!in.readRecord(out)) readError();
  };
  auto check = [&](FreeReader::Status s) {
    if (s == FreeReader::Status::End || s == FreeReader::Status::Error) readError();
  };
  auto readInt = [&](int& v) {
    trace();
    check(in.readInt(v));
  };
  auto readReal = [&](float& v) {
    trace();
    check(in.readReal(v));
  };
  auto readText = [&](std::string& v, std::size_t width) {
    trace();
    std::string t = v;
    check(in.readText(t));
    v = fmt::padRight(t, width);
  };

  std::string rec;
  record(rec);
  st.fileIn = split(rec);
  record(rec);
  st.dataFile = split(rec);
  log.put({"dataFile = ", st.dataFile, "<---"});

  TextFile dataFile(st.dataFile);
  if (!dataFile.isOpen()) {
    log.put(" ");
    log.put({" ERROR while opening Data file: ", st.dataFile});
    log.put(" ");
    log.put(" ");
    log.put({"dataFile = ", st.dataFile, "<---"});
    if (!std::filesystem::path(st.dataFile).is_absolute()) {
      log.put(" ");
      log.put("            *** Warning ***");
      log.put(" ");
      log.put(" If no path is given with your -dataFile-,");
      log.put(" the path is assumed to be the same as the ");
      log.put(" last opened file; ie. -filenam- (listed above).");
      log.put(" **************  End of run *******************");
      log.put(" ");
    }
    return kStatusDataFileError;
  }
  r.data.reset(std::move(dataFile));

  readInt(st.irec_skip);
  readInt(npts);
  std::string kind = " ";
  readText(kind, 1);
  st.itype = (kind[0] == 'r' || kind[0] == 'R') ? 1 : 2;

  readInt(st.ixtype);
  readText(st.method_name, kNameWidth);
  std::string neg = " ";
  readText(neg, 1);
  st.neg_freq = (neg[0] == 'y' || neg[0] == 'Y') ? 1 : 0;
  readInt(npoints);

  // nPoints must lie where its power of two can be formed and allocated.
  if (!nPointsRange().holds(npoints)) {
    rangeErrorBlock(log, {{"nPoints = ", npoints}}, "1 <= nPoints <= 16777216", false, 12);
    fatalStop(" nPoints parameter out of range");
  }
  int nexp = 0;
  while ((1 << nexp) < npoints) ++nexp;
  npoints = 1 << nexp;
  log.put({" nPoints = ", npoints});

  // Count the data points: records after the header that start with a number. The run uses at
  // most nPoints of them, so the count stops there and the rest of the file is never read.
  r.data.skipRecords(st.irec_skip);
  st.ipts = 0;
  while (st.ipts < npoints) {
    stopPointEvery(r, st.ipts);
    const auto s = r.data.skipFirstReal();
    if (s == FreeReader::Status::End || s == FreeReader::Status::Error) break;
    ++st.ipts;
  }
  r.data.rewind();

  if (npts == 0) npts = st.ipts;
  if (st.ipts < npts) npts = st.ipts;
  // The data are cut to the transform size; the checks below see the points that will be used.
  if (npoints < npts) npts = npoints;

  st.maxpoles = kMaxPoles;
  st.maxzeros = kMaxZeros;
  st.maxorder = npoints < kTableOrder ? npoints : kTableOrder;

  readInt(st.npoles);
  readInt(st.nzeros);
  readReal(st.eps);
  readInt(st.mode);
  readInt(st.m_eqs);
  readInt(st.l_pts);
  readInt(st.m_lags);
  readInt(st.nit);
  readReal(st.per);
  readText(st.window_name, kNameWidth);
  record(rec);
  st.note1 = rec.substr(0, kNoteWidth);
  record(rec);
  st.note2 = rec.substr(0, kNoteWidth);

  st.method = selectMethod(st.method_name, &st.method_name);

  return spec_check(r, npts, npoints);
}

int spec_check(Run& r, int npts, int npoints) {
  RunState& st = r.st;
  RunLog& log = r.log;
  log.put(" ");
  if (st.method != kPeriodogram && st.method != kBlackTukey) {
    log.raw("     Note: Maximum # of POLES & ZEROS at this compile was (" + I(st.maxpoles, 6) +
            I(st.maxzeros, 6) + " ).");
  }
  if (st.method < 6) st.nzeros = 0;

  if (st.method == kLsmywe || st.method == kAkaike) {
    // The orders are as read (any 32-bit value; the driver clamps them later): their sums are
    // formed in 64 bits, so no value can overflow them or slip past the range check.
    const long long poles = st.npoles, zeros = st.nzeros;
    log.blank();
    log.raw("     Note: Number of equations (M) to be solved ...");
    log.raw("     # of zeros + poles (q+p+1) < M <= # of data pts. (npts)");
    log.raw("     The math background seems to suggest M = npts");
    log.blank();
    log.raw("  Minimum/Maximum range for M_Eqs = " + I(poles + zeros + 2, 6) + "  to" + I(npts, 6));
    if (!mEqsRange(poles, zeros, npts).holds(st.m_eqs)) {
      rangeErrorBlock(log,
                      {{"nPoles+nZeros+1 = ", poles + zeros + 1},
                       {"M_Eqs = ", st.m_eqs},
                       {"nPts = ", npts},
                       {"MaxOrder = ", st.maxorder}},
                      "nPoles+nZeros+1 < M_Eqs <= nPts", true);
      fatalStop(" M_Eqs parameter out of range");
    }
  } else if (st.method == kDurbin) {
    st.npoles = 0;
    log.put(" Note: Number of frequency points (L) desired ...");
    log.raw("      # of zeros (q) << L << # of data pts. (npts)");
    log.raw("     Kay recommends L = npts / 5 as a start.");
    log.blank();
    // A prompt: no line end of its own, the next record continues the line.
    log.prompt("Maximum value is" + I(st.maxorder, 4) + "  ... Enter L: ");
    if (!durbinLRange(st.nzeros, st.maxorder).holds(st.l_pts)) {
      rangeErrorBlock(log,
                      {{"nZeros = ", st.nzeros},
                       {"L_pts = ", st.l_pts},
                       {"nPts = ", npts},
                       {"MaxOrder = ", st.maxorder}},
                      "nZeros << L_pts << nPts  -and-,nZeros << L_pts << MaxOrder!", false);
      fatalStop(" L_PTS parameter out of range");
    }
  } else if (st.method == kBlackTukey) {
    log.put("Note: Largest Lag (M) ... M < NPTS / 2 : ");
    if (!mLagRange(npts).holds(st.m_lags)) {
      rangeErrorBlock(log, {{"m_lags = ", st.m_lags}, {"nPts = ", npts}}, "m_lags < nPts/2!",
                      false);
      fatalStop(" M_Lags parameter out of range");
    }
  } else if (st.method == kMvse) {
    if (!mvseLRange(npoints).holds(st.l_pts)) {
      rangeErrorBlock(log, {{"L_pts = ", st.l_pts}, {"nPoints = ", npoints}},
                      "2 <= L_pts <= nPoints!", false);
      fatalStop(" L_PTS parameter out of range");
    }
  }

  // Echo block.
  const std::tm& t = r.now;
  const std::string date =
      twoDigits(t.tm_mon + 1) + "/" + twoDigits(t.tm_mday) + "/" + twoDigits(t.tm_year % 100);
  const std::string clock =
      twoDigits(t.tm_hour) + ":" + twoDigits(t.tm_min) + ":" + twoDigits(t.tm_sec);
  log.put(" ");
  log.raw(" " + kDashes45 + " " + date + "   " + clock);
  log.raw(" " + kDashes45 + " " + st.dataFile);
  log.put(" Using following Estimator Parameters:");
  log.raw("                 --------- ----------");
  log.blank();
  log.raw(kIndent9 + "Batch filename = " + st.fileIn);
  auto intLine = [&](const char* label, int v) {
    if (v != -999) log.raw(kIndent9 + label + I(v, 6));
  };
  intLine("npoles = ", st.npoles);
  intLine("nzeros = ", st.nzeros);
  intLine("l_pts = ", st.l_pts);
  intLine("mode = ", st.mode);
  intLine("m_eqs = ", st.m_eqs);
  intLine("m_lags = ", st.m_lags);
  intLine("nit = ", st.nit);
  if (st.per != -999.0f) log.raw(kIndent9 + "per = " + fmt::F(st.per, 6, 3));
  if (st.eps != -999.0f) log.raw(kIndent9 + "eps = " + fmt::E(st.eps, 12, 3));
  const std::string window(fmt::trimRight(st.window_name));
  if (window != "-999") log.raw(kIndent9 + "window_name = " + window);
  log.raw(kIndent9 + "method_name = " + std::string(fmt::trimRight(st.method_name)));
  log.raw(kIndent9 + "negative freq.s = " + (st.neg_freq == 1 ? "Yes" : "No"));
  log.raw(kIndent9 + "Note1 = " + std::string(fmt::trimRight(st.note1)));
  log.raw(kIndent9 + "Note2 = " + std::string(fmt::trimRight(st.note2)));
  log.blank();
  log.raw(kDashes72);
  log.blank();
  if (st.doublePrecision) log.raw(" Arithmetic: double precision");
  return kStatusOk;
}

}  // namespace voxtrel
