// A full disk for the tests of writers: a limit on the size of the files this process
// writes, while the limit object lives.
#pragma once

#include <sys/resource.h>

#include <csignal>

#include <gtest/gtest.h>

namespace files_test {

// Files this process writes may grow to `bytes` and no further: a longer write fails
// half-way with EFBIG, as a full disk fails it, instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &m_before);
    rlimit limit = m_before;
    limit.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_before);
    std::signal(SIGXFSZ, m_signal);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_before{};
  void (*m_signal)(int) = nullptr;
};

}  // namespace files_test
