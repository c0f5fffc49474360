#include "file_text.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace voxtrel {

bool readWholeFile(const std::string& path, std::string& out) {
  std::error_code ec;
  // Only a regular file: a folder cannot be read, and a pipe or a device could block or never
  // end.
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  out.clear();
  char buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace voxtrel
