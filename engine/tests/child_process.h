// Running part of a test in a child process: limits set there (on the address space or the
// file size) never reach the test runner, and a child that hangs or crashes fails the test
// instead of ending it.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>

namespace vtest {

// AddressSanitizer reserves more address space than any useful limit on it leaves.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

struct ChildResult {
  bool finished = false;  // ended by itself, within its time (not killed, not crashed)
  std::string output;     // the text its body returned
};

// Runs body in a forked child that is killed after seconds; the text body returns comes back.
inline ChildResult inChild(const std::function<std::string()>& body, unsigned seconds = 60) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return {};
  if (pid == 0) {
    close(fds[0]);
    alarm(seconds);
    const std::string out = body();
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
      if (n <= 0) _exit(2);
      done += static_cast<std::size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  ChildResult res;
  char buf[4096];
  for (;;) {
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n > 0) {
      res.output.append(buf, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  res.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return res;
}

// Limits the calling process's address space to what it holds now plus headroom bytes.
inline bool limitAddressSpace(unsigned long long headroom) {
  unsigned long long pages = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%llu", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  if (pages == 0) return false;
  const unsigned long long limit =
      pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE)) + headroom;
  const rlimit rl{limit, limit};
  return setrlimit(RLIMIT_AS, &rl) == 0;
}

}  // namespace vtest
