#include "serial/posix_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "serial/port_backend.h"
#include "serial/serial_devices.h"

namespace serial {

namespace {

speed_t StandardSpeed(std::uint32_t baud) {
  switch (baud) {
    case 110:
      return B110;
    case 300:
      return B300;
    case 600:
      return B600;
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    case 230400:
      return B230400;
    case 460800:
      return B460800;
    case 921600:
      return B921600;
    default:
      return B0;
  }
}

class PosixPort : public PortBackend {
 public:
  ~PosixPort() override { Close(); }

  bool Open(const std::string& name) override {
    Close();
    const std::string path = ResolvePortName(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // TIOCEXCL keeps other programs out; the lock also keeps out a second open by a
    // privileged process, as a device opened without sharing on Windows does.
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
      ::close(fd);
      return false;
    }
    m_fd = fd;
    return true;
  }

  bool IsOpen() const override { return m_fd >= 0; }

  void Close() override {
    if (m_fd < 0) return;
    ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
  }

  bool SetCommState(const DeviceControlBlock& dcb) override {
    if (m_fd < 0) return false;
    termios tio{};
    if (tcgetattr(m_fd, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    switch (dcb.ByteSize) {
      case 5:
        tio.c_cflag |= CS5;
        break;
      case 6:
        tio.c_cflag |= CS6;
        break;
      case 7:
        tio.c_cflag |= CS7;
        break;
      case 8:
        tio.c_cflag |= CS8;
        break;
      default:
        return false;
    }
    switch (dcb.Parity) {
      case 0:
        break;
      case 1:
        tio.c_cflag |= PARENB | PARODD;
        break;
      case 2:
        tio.c_cflag |= PARENB;
        break;
      case 3:
        tio.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
      case 4:
        tio.c_cflag |= PARENB | CMSPAR;
        break;
      default:
        return false;
    }
    switch (dcb.StopBits) {
      case 0:
        break;
      // Hardware sends one and a half stop bits only with 5 data bits, when asked
      // for two; with more data bits termios has no way to say it.
      case 1:
        if (dcb.ByteSize != 5) return false;
        tio.c_cflag |= CSTOPB;
        break;
      // Two stop bits with 5 data bits would put one and a half on the line; Windows
      // refuses that pair, and so does this port.
      case 2:
        if (dcb.ByteSize == 5) return false;
        tio.c_cflag |= CSTOPB;
        break;
      default:
        return false;
    }
    if (dcb.fOutxCtsFlow != 0) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (dcb.fOutX != 0) tio.c_iflag |= IXON;
    if (dcb.fInX != 0) tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    const speed_t speed = StandardSpeed(dcb.BaudRate);
    if (speed != B0) {
      cfsetispeed(&tio, speed);
      cfsetospeed(&tio, speed);
    }
    if (tcsetattr(m_fd, TCSANOW, &tio) != 0) return false;
    if (speed == B0 && (dcb.BaudRate == 0 || !SetCustomBaudRate(m_fd, dcb.BaudRate))) {
      return false;
    }
    // RTS and DTR as the block says where the device has modem lines; a
    // pseudo-terminal has none, which is no failure.
    SetLine(TIOCM_DTR, dcb.fDtrControl == 1);
    if (dcb.fRtsControl != 2) SetLine(TIOCM_RTS, dcb.fRtsControl == 1);
    return true;
  }

  bool SetupComm(std::uint32_t, std::uint32_t) override { return m_fd >= 0; }

  bool SetCommTimeouts(const CommTimeouts& timeouts) override {
    m_write_timeout_ms = static_cast<int>(timeouts.WriteTotalTimeoutConstant);
    return m_fd >= 0;
  }

  bool PurgeComm(std::uint32_t flags) override {
    if (m_fd < 0) return false;
    const bool in = (flags & (kPurgeRxAbort | kPurgeRxClear)) != 0;
    const bool out = (flags & (kPurgeTxAbort | kPurgeTxClear)) != 0;
    if (!in && !out) return true;
    return tcflush(m_fd, in && out ? TCIOFLUSH : (in ? TCIFLUSH : TCOFLUSH)) == 0;
  }

  bool ClearCommError(CommStatus& status) override {
    if (m_fd < 0 || Vanished()) return false;
    int in = 0;
    int out = 0;
    if (ioctl(m_fd, FIONREAD, &in) != 0) return false;
    if (ioctl(m_fd, TIOCOUTQ, &out) != 0) out = 0;
    status.errors = 0;
    status.in_queue = static_cast<std::uint32_t>(in > 0 ? in : 0);
    status.out_queue = static_cast<std::uint32_t>(out > 0 ? out : 0);
    return true;
  }

  bool ReadFile(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override {
    read = 0;
    if (m_fd < 0) return false;
    const ssize_t n = ::read(m_fd, buffer, count);
    if (n > 0) {
      read = static_cast<std::uint32_t>(n);
      return true;
    }
    // Nothing there yet is not the end of the device.
    return n == 0 || errno == EAGAIN || errno == EINTR;
  }

  bool WriteFile(const std::uint8_t* data, std::uint32_t count, std::uint32_t& written) override {
    written = 0;
    if (m_fd < 0) return false;
    ssize_t n = ::write(m_fd, data, count);
    if (n < 0 && errno == EAGAIN) {
      pollfd p{m_fd, POLLOUT, 0};
      if (poll(&p, 1, m_write_timeout_ms) > 0 && (p.revents & POLLOUT) != 0) {
        n = ::write(m_fd, data, count);
      }
    }
    if (n > 0) {
      written = static_cast<std::uint32_t>(n);
      return true;
    }
    return n == 0 || errno == EAGAIN || errno == EINTR;
  }

  bool GetCommModemStatus(std::uint32_t& bits) override {
    bits = 0;
    int lines = 0;
    if (m_fd < 0 || ioctl(m_fd, TIOCMGET, &lines) != 0) return false;
    if ((lines & TIOCM_CTS) != 0) bits |= kMsCtsOn;
    if ((lines & TIOCM_DSR) != 0) bits |= kMsDsrOn;
    if ((lines & TIOCM_RI) != 0) bits |= kMsRingOn;
    if ((lines & TIOCM_CD) != 0) bits |= kMsRlsdOn;
    return true;
  }

 private:
  // A pulled adapter or a closed pseudo-terminal master hangs the line up.
  bool Vanished() const {
    pollfd p{m_fd, POLLIN, 0};
    if (poll(&p, 1, 0) < 0) return errno != EINTR;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  }

  void SetLine(int line, bool on) { ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line); }

  int m_fd = -1;
  int m_write_timeout_ms = 10;
};

}  // namespace

std::string ResolvePortName(const std::string& name) {
  // Windows names its devices without regard to case: "\\.\com3" is COM3 there too.
  const std::string prefix = "\\\\.\\COM";
  if (name.size() < prefix.size() ||
      !std::equal(prefix.begin(), prefix.end(), name.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) ==
               std::toupper(static_cast<unsigned char>(b));
      })) {
    return name;
  }
  const std::string digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 2 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return name;
  }
  const int n = std::stoi(digits);
  if (n < 1 || n > 16) return name;
  std::error_code ec;
  // Without a home there is no map: a relative "comN" must never be opened.
  const std::filesystem::path map = PortMapDir();
  const std::filesystem::path link = map / ("com" + std::to_string(n));
  if (!map.empty() && std::filesystem::is_symlink(link, ec)) return link.string();
  return "/dev/ttyS" + std::to_string(n - 1);
}

std::unique_ptr<PortBackend> MakeSystemPort() {
  return std::make_unique<PosixPort>();
}

}  // namespace serial
