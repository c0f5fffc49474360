// The engine's fatal stop: it ends the run (never the process). The routine that stops writes
// its own Aborting lines first; the entry catches the stop, writes its text as the last line
// of the run log and returns status -9.
#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "runlog.h"

namespace voxtrel {

struct FatalStop {
  std::string text;
};

[[noreturn]] inline void fatalStop(std::string text) {
  throw FatalStop{std::move(text)};
}

// Inside a catch (...) block of an entry that returns its outcome: why the call ended, for its
// result's message. The stop's own text, memory running out during this job ("run", "scan"),
// or an internal error.
inline std::string stopReason(const std::string& job) {
  try {
    throw;
  } catch (const FatalStop& stop) {
    return stop.text;
  } catch (const std::bad_alloc&) {
    return "Allocate error: not enough memory for this " + job;
  } catch (const std::exception& e) {
    return std::string("Internal error: ") + e.what();
  } catch (...) {
    return "Internal error: an exception of unknown type";
  }
}

// Allocates a zero-filled work array. When memory is exhausted, writes a blank record and
// abortingText followed by the status to the log, then stops the run with stopText.
template <class T>
std::vector<T> allocateOrStop(RunLog& log, std::size_t n, const char* abortingText,
                              const char* stopText) {
  try {
    return std::vector<T>(n);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  log.put(" ");
  log.put({abortingText, 41});  // 41: the run-time library's status for "insufficient memory"
  fatalStop(stopText);
}

}  // namespace voxtrel
