#include "serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "kvvisa/visa.h"

namespace kv {

namespace {

using Clock = std::chrono::steady_clock;

struct BaudCode {
    std::uint32_t baud;
    speed_t code;
};
constexpr BaudCode kBaudCodes[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},
    {150, B150},       {200, B200},       {300, B300},       {600, B600},
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

bool BaudCodeOf(std::uint32_t baud, speed_t& code) {
    for (const BaudCode& entry : kBaudCodes) {
        if (entry.baud == baud) {
            code = entry.code;
            return true;
        }
    }
    return false;
}

bool DataBitsFlag(std::uint16_t bits, tcflag_t& flag) {
    switch (bits) {
        case 5: flag = CS5; return true;
        case 6: flag = CS6; return true;
        case 7: flag = CS7; return true;
        case 8: flag = CS8; return true;
        default: return false;
    }
}

constexpr tcflag_t kFramingFlags = CBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
constexpr std::uint8_t kStandardXon = 0x11;
constexpr std::uint8_t kStandardXoff = 0x13;

// Raw bytes both ways, no flow control of any kind, no modem-line waits.
void MakeRaw(termios& settings) {
    settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                          IXOFF | IXANY | INPCK | IGNPAR);
    settings.c_oflag &= ~OPOST;
    settings.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~CRTSCTS;
    settings.c_cflag |= CREAD | CLOCAL;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
}

bool IsBusy(int error) { return error == EBUSY || error == EACCES || error == EWOULDBLOCK; }

// Waits for `events` until `deadline`: the reported events, 0 on time-out.
int WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
        timespec wait{};
        if (left.count() > 0) {
            wait.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
            wait.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
        }
        pollfd pfd{fd, events, 0};
        const int ready = ppoll(&pfd, 1, &wait, nullptr);
        if (ready > 0) return pfd.revents;
        if (ready == 0 || errno != EINTR) return 0;
    }
}

}  // namespace

namespace {

// Opens `device` for reading and writing and takes its advisory lock;
// -1 with `state` telling why not.
int Acquire(const std::string& device, CSerialPort::EOpen& state) {
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        state = IsBusy(errno) ? CSerialPort::EOpen::Busy : CSerialPort::EOpen::Missing;
        return -1;
    }
    // A serial line the kernel found no UART behind is not a port.
    serial_struct line{};
    if (!isatty(fd) || (ioctl(fd, TIOCGSERIAL, &line) == 0 && line.type == PORT_UNKNOWN)) {
        close(fd);
        state = CSerialPort::EOpen::Missing;
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        state = IsBusy(error) ? CSerialPort::EOpen::Busy : CSerialPort::EOpen::Missing;
        return -1;
    }
    state = CSerialPort::EOpen::Opened;
    return fd;
}

}  // namespace

CSerialPort::EOpen CSerialPort::Probe(const std::string& device) {
    EOpen state = EOpen::Missing;
    const int fd = Acquire(device, state);
    if (fd >= 0) close(fd);
    return state;
}

CSerialPort::EOpen CSerialPort::Open(const std::string& device) {
    Close();
    EOpen state = EOpen::Missing;
    const int fd = Acquire(device, state);
    if (fd < 0) return state;
    termios settings{};
    if (ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &settings) != 0) {
        close(fd);
        return EOpen::Missing;
    }
    MakeRaw(settings);
    if (tcsetattr(fd, TCSANOW, &settings) != 0 || tcflush(fd, TCIOFLUSH) != 0) {
        close(fd);
        return EOpen::Missing;
    }
    fd_ = fd;
    hungUp_ = false;
    serial_icounter_struct counters{};
    hasLineCounters_ = ioctl(fd_, TIOCGICOUNT, &counters) == 0;
    breaksSeen_ = hasLineCounters_ ? static_cast<std::uint32_t>(counters.brk) : 0;
    return EOpen::Opened;
}

bool CSerialPort::Close() {
    if (fd_ < 0) return true;
    (void)ioctl(fd_, TIOCNXCL);
    const int closed = close(fd_);
    fd_ = -1;
    return closed == 0 || errno == EINTR;
}

template <typename Change>
bool CSerialPort::ChangeSettings(Change&& change) {
    termios settings{};
    if (fd_ < 0 || tcgetattr(fd_, &settings) != 0) return false;
    if (!change(settings)) return false;
    if (tcsetattr(fd_, TCSANOW, &settings) != 0) return false;
    // A driver may take the call yet keep its own framing (a pseudo-terminal
    // has no parity): only what the line now holds counts as accepted.
    termios held{};
    return tcgetattr(fd_, &held) == 0 && (held.c_cflag & kFramingFlags) == (settings.c_cflag & kFramingFlags) &&
           held.c_cc[VSTART] == settings.c_cc[VSTART] && held.c_cc[VSTOP] == settings.c_cc[VSTOP];
}

bool CSerialPort::ApplyConnectFraming(const SerialFraming& framing) {
    return ChangeSettings([&](termios& settings) {
        speed_t speed = 0;
        tcflag_t size = 0;
        if (!BaudCodeOf(framing.baud, speed) || !DataBitsFlag(framing.dataBits, size)) return false;
        MakeRaw(settings);
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
        settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
        settings.c_cflag |= size;
        settings.c_cc[VSTART] = kStandardXon;
        settings.c_cc[VSTOP] = kStandardXoff;
        return true;
    });
}

bool CSerialPort::SetBaud(std::uint32_t baud) {
    return ChangeSettings([&](termios& settings) {
        speed_t speed = 0;
        if (!BaudCodeOf(baud, speed)) return false;
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
        return true;
    });
}

bool CSerialPort::SetDataBits(std::uint16_t bits) {
    return ChangeSettings([&](termios& settings) {
        tcflag_t size = 0;
        if (!DataBitsFlag(bits, size)) return false;
        settings.c_cflag = (settings.c_cflag & ~CSIZE) | size;
        return true;
    });
}

bool CSerialPort::SetParity(std::uint16_t parity) {
    tcflag_t bits = 0;
    switch (parity) {
        case VI_ASRL_PAR_NONE: bits = 0; break;
        case VI_ASRL_PAR_ODD: bits = PARENB | PARODD; break;
        case VI_ASRL_PAR_EVEN: bits = PARENB; break;
        case VI_ASRL_PAR_MARK: bits = PARENB | PARODD | CMSPAR; break;
        case VI_ASRL_PAR_SPACE: bits = PARENB | CMSPAR; break;
        default: return fd_ >= 0;
    }
    return ChangeSettings([&](termios& settings) {
        settings.c_cflag = (settings.c_cflag & ~(PARENB | PARODD | CMSPAR)) | bits;
        if (bits != 0) {
            settings.c_iflag |= INPCK;
        } else {
            settings.c_iflag &= ~INPCK;
        }
        return true;
    });
}

bool CSerialPort::SetStopBits(std::uint16_t stopBits) {
    // The line has one or two stop bits; with five data bits the second one
    // is sent as half a bit, which is what one and a half asks for.
    bool two = false;
    switch (stopBits) {
        case VI_ASRL_STOP_ONE: two = false; break;
        case VI_ASRL_STOP_ONE5:
        case VI_ASRL_STOP_TWO: two = true; break;
        default: return fd_ >= 0;
    }
    return ChangeSettings([&](termios& settings) {
        if (two) {
            settings.c_cflag |= CSTOPB;
        } else {
            settings.c_cflag &= ~CSTOPB;
        }
        return true;
    });
}

bool CSerialPort::SetXonChar(std::uint8_t c) {
    return ChangeSettings([&](termios& settings) {
        settings.c_cc[VSTART] = static_cast<cc_t>(c);
        return true;
    });
}

bool CSerialPort::SetXoffChar(std::uint8_t c) {
    return ChangeSettings([&](termios& settings) {
        settings.c_cc[VSTOP] = static_cast<cc_t>(c);
        return true;
    });
}

bool CSerialPort::FlushQueues() { return fd_ >= 0 && tcflush(fd_, TCIOFLUSH) == 0; }

bool CSerialPort::TakeLineFault() {
    if (fd_ < 0) return false;
    // A line hung up since the last transfer (the adapter was unplugged, or
    // somebody hung it up) is one to reopen before it is used.
    pollfd pfd{fd_, 0, 0};
    bool fault = hungUp_ || (poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR)) != 0);
    hungUp_ = false;
    // Devices without line counters (pseudo-terminals) report no breaks.
    serial_icounter_struct counters{};
    if (hasLineCounters_ && ioctl(fd_, TIOCGICOUNT, &counters) == 0) {
        const auto breaks = static_cast<std::uint32_t>(counters.brk);
        fault = fault || breaks != breaksSeen_;
        breaksSeen_ = breaks;
    }
    return fault;
}

template <typename Move>
std::size_t CSerialPort::Transfer(Move&& move, std::size_t count, short event,
                                  Clock::time_point deadline, bool& failed) {
    failed = false;
    std::size_t done = 0;
    bool hungUp = false;
    while (done < count) {
        const ssize_t n = move(done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) break;
        // A line that hung up may still hold bytes; once they are taken, it is gone.
        if (hungUp) break;
        if (Clock::now() >= deadline) return done;
        if ((WaitFor(fd_, event, deadline) & (POLLHUP | POLLERR | POLLNVAL)) != 0) hungUp = true;
    }
    if (done == count) return done;
    hungUp_ = true;
    failed = true;
    return done;
}

std::size_t CSerialPort::Read(std::uint8_t* buf, std::size_t count, Clock::time_point deadline,
                              bool& failed) {
    return Transfer([&](std::size_t done) { return read(fd_, buf + done, count - done); }, count,
                    POLLIN, deadline, failed);
}

std::size_t CSerialPort::Write(const std::uint8_t* buf, std::size_t count, Clock::time_point deadline,
                               bool& failed) {
    return Transfer([&](std::size_t done) { return write(fd_, buf + done, count - done); }, count,
                    POLLOUT, deadline, failed);
}

}  // namespace kv
