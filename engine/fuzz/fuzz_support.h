// Shared by the fuzz targets: a private folder for the files a run reads and writes.
#pragma once

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <string>

namespace fuzz {

inline int processId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

inline const std::filesystem::path& workDir() {
  static const std::filesystem::path dir = [] {
    auto d =
        std::filesystem::temp_directory_path() / ("voxtrel-fuzz-" + std::to_string(processId()));
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

inline void writeFile(const std::filesystem::path& p, const std::string& s) {
  if (std::FILE* f = std::fopen(p.string().c_str(), "wb")) {
    std::fwrite(s.data(), 1, s.size(), f);
    std::fclose(f);
  }
}

}  // namespace fuzz
