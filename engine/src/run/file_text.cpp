#include "file_text.h"

namespace voxtrel {

TextFile::TextFile(const std::string& path) : file_(os::openRegularForReading(path)) {}

void TextFile::close() {
  file_.close();
}

std::size_t TextFile::read(char* buf, std::size_t n) {
  return file_.read(buf, n);
}

bool TextFile::rewind() {
  return file_.rewind();
}

}  // namespace voxtrel
