// Runs the rest of a scope as the unprivileged user "nobody" when the tests run as
// root, since root may write any file and into any folder; the effective user comes
// back at the end. For tests in programs that must otherwise run as root.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

namespace files_test {

class UnprivilegedScope {
 public:
  UnprivilegedScope() {
    if (geteuid() == 0) m_switched = seteuid(kNobody) == 0;
  }
  ~UnprivilegedScope() {
    if (m_switched) {
      EXPECT_EQ(seteuid(0), 0);
    }
  }
  UnprivilegedScope(const UnprivilegedScope&) = delete;
  UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;
  bool Unprivileged() const { return geteuid() != 0; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool m_switched = false;
};

}  // namespace files_test
