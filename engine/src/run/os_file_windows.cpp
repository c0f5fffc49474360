// The engine's operating-system calls on Windows (see os_file.h). Paths are single-byte text in
// the system's ANSI code page, as the C run-time's fopen takes them, widened for the wide API.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <utility>

#include "os_file.h"

namespace voxtrel::os {

namespace {

HANDLE asHandle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

std::intptr_t fromHandle(HANDLE h) {
  return reinterpret_cast<std::intptr_t>(h);
}

std::wstring widen(const std::string& path) {
  const int n =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), w.data(), n);
  return w;
}

// The system's text for an error code, without the closing full stop and line end, as the C
// run-time's strerror gives its texts.
std::string errorText(DWORD code) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
      nullptr);
  std::string out = n > 0 && text ? std::string(text, n) : "Windows error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!out.empty() &&
         (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
    out.pop_back();
  return out;
}

// The log's file: read and write, created when missing. FILE_FLAG_OPEN_REPARSE_POINT opens a
// symbolic link (or junction) itself instead of what it points to.
HANDLE openLog(const std::wstring& path, DWORD disposition) {
  return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                     disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Removes the name path (a link or a second name of a file), not what it points to.
bool removeName(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return RemoveDirectoryW(path.c_str()) != 0;  // a link to a folder, not the folder
  return DeleteFileW(path.c_str()) != 0;
}

}  // namespace

void File::failed() {
  error_ = errorText(GetLastError());
}

std::size_t File::read(char* buf, std::size_t n) {
  if (!isOpen()) return 0;
  DWORD got = 0;
  const DWORD want = n > 0x40000000u ? 0x40000000u : static_cast<DWORD>(n);
  if (!ReadFile(asHandle(handle_), buf, want, &got, nullptr)) {
    failed();
    return 0;
  }
  return got;
}

bool File::readAt(std::uint64_t offset, char* buf, std::size_t n) {
  if (!isOpen()) return false;
  // A positioned read moves the position of a synchronous handle: it is put back afterwards.
  LARGE_INTEGER here{}, zero{};
  if (!SetFilePointerEx(asHandle(handle_), zero, &here, FILE_CURRENT)) return false;
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < n) {
    OVERLAPPED at{};
    const std::uint64_t pos = offset + done;
    at.Offset = static_cast<DWORD>(pos & 0xffffffffu);
    at.OffsetHigh = static_cast<DWORD>(pos >> 32);
    const std::size_t rest = n - done;
    DWORD got = 0;
    ok = ReadFile(asHandle(handle_), buf + done,
                  rest > 0x40000000u ? 0x40000000u : static_cast<DWORD>(rest), &got, &at) &&
         got > 0;
    done += got;
  }
  SetFilePointerEx(asHandle(handle_), here, nullptr, FILE_BEGIN);
  return ok;
}

bool File::writeAll(const char* p, std::size_t n, std::uint64_t& written) {
  while (n > 0) {
    DWORD put = 0;
    const DWORD chunk = n > 0x40000000u ? 0x40000000u : static_cast<DWORD>(n);
    if (!WriteFile(asHandle(handle_), p, chunk, &put, nullptr) || put == 0) {
      if (put == 0 && GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_DISK_FULL);
      failed();
      return false;
    }
    p += put;
    n -= put;
    written += put;
  }
  return true;
}

bool File::truncateAt(std::uint64_t size) {
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(asHandle(handle_), to, nullptr, FILE_BEGIN) ||
      !SetEndOfFile(asHandle(handle_))) {
    failed();
    return false;
  }
  return true;
}

bool File::rewind() {
  LARGE_INTEGER zero{};
  return isOpen() && SetFilePointerEx(asHandle(handle_), zero, nullptr, FILE_BEGIN);
}

bool File::close() {
  if (!isOpen()) return true;
  const bool ok = CloseHandle(asHandle(std::exchange(handle_, kNone))) != 0;
  if (!ok) failed();
  return ok;
}

File openRegularForReading(const std::string& path) {
  if (path.empty()) return {};
  // A folder cannot be opened this way at all; a pipe or a device opens, and is refused by its
  // type. Opening a pipe's client end never waits.
  HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return {};
  }
  return File(fromHandle(h));
}

File openOwnFileForRewrite(const std::string& path, std::string& why, bool keep) {
  const std::wstring name = widen(path);
  auto refuse = [&why](HANDLE h, std::string reason) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    why = std::move(reason);
    return File();
  };
  HANDLE h = openLog(name, OPEN_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return refuse(h, errorText(code));
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      // A folder cannot be opened as a file; anything else keeps the system's reason.
      return refuse(h, (attributes & FILE_ATTRIBUTE_DIRECTORY) ? std::string(kNotARegularFile)
                                                               : errorText(code));
    }
    // A link to a folder: the link itself is replaced below.
    if (!removeName(name)) return refuse(h, errorText(GetLastError()));
    h = openLog(name, CREATE_NEW);
    if (h == INVALID_HANDLE_VALUE) return refuse(h, errorText(GetLastError()));
  }
  if (GetFileType(h) != FILE_TYPE_DISK) return refuse(h, kNotARegularFile);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return refuse(h, errorText(GetLastError()));
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || info.nNumberOfLinks > 1) {
    // A link, or a file with other names: the log gets a file of its own. CREATE_NEW refuses a
    // name put back meanwhile.
    CloseHandle(h);
    if (!removeName(name)) return refuse(INVALID_HANDLE_VALUE, errorText(GetLastError()));
    h = openLog(name, CREATE_NEW);
    if (h == INVALID_HANDLE_VALUE) return refuse(h, errorText(GetLastError()));
  }
  if (!keep && !SetEndOfFile(h)) return refuse(h, errorText(GetLastError()));
  return File(fromHandle(h));
}

std::tm localTime(std::time_t t) {
  std::tm out{};
  localtime_s(&out, &t);
  return out;
}

}  // namespace voxtrel::os
