// Reading a whole text file into memory.
#pragma once

#include <string>

namespace voxtrel {

// The whole contents of the regular file at path; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& out);

}  // namespace voxtrel
