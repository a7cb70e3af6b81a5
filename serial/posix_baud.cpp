// termios2 lives in the kernel's headers, which clash with <termios.h>: this file
// includes only them.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include "serial/posix_port.h"

namespace serial {

bool SetCustomBaudRate(int fd, std::uint32_t baud) {
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return false;
  tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
  tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  tio.c_ispeed = baud;
  tio.c_ospeed = baud;
  return ioctl(fd, TCSETS2, &tio) == 0;
}

}  // namespace serial
