// A serial device opened exclusively, in raw mode, with timed transfers.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kv {

// The line settings the session stores; what the device makes of them.
struct SerialFraming {
    std::uint32_t baud = 9600;
    std::uint16_t dataBits = 8;
    std::uint16_t parity = 0;      // VI_ASRL_PAR_*
    std::uint16_t stopBits = 10;   // VI_ASRL_STOP_*
    std::uint8_t xonChar = 0x11;
    std::uint8_t xoffChar = 0x13;
};

class CSerialPort {
public:
    enum class EOpen { Opened, Busy, Missing };

    CSerialPort() = default;
    ~CSerialPort() { Close(); }
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens the device for reading and writing, exclusively: TIOCEXCL keeps
    // other programs out and an advisory lock refuses a device another
    // program holds (which TIOCEXCL alone does not do for the superuser).
    // Puts it in raw mode and empties both queues.
    EOpen Open(const std::string& device);
    // Whether `device` could be opened now, leaving its settings alone.
    static EOpen Probe(const std::string& device);
    // False when closing reported an error; the descriptor is gone anyway.
    bool Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Baud rate and data bits as given; no parity, one stop bit, the
    // standard XON/XOFF characters, no flow control. False if refused.
    bool ApplyConnectFraming(const SerialFraming& framing);
    // Each changes one item of the settings; false if the device refused.
    bool SetBaud(std::uint32_t baud);
    bool SetDataBits(std::uint16_t bits);
    // Values outside the known ones change nothing and are accepted.
    bool SetParity(std::uint16_t parity);
    bool SetStopBits(std::uint16_t stopBits);
    bool SetXonChar(std::uint8_t c);
    bool SetXoffChar(std::uint8_t c);
    bool FlushQueues();

    // True when the line saw a break or hung up since the last call.
    bool TakeLineFault();

    // Moves up to `count` bytes, waiting until `deadline` for the rest.
    // `failed` is set when the device reported an error (gone, hung up).
    std::size_t Read(std::uint8_t* buf, std::size_t count,
                     std::chrono::steady_clock::time_point deadline, bool& failed);
    std::size_t Write(const std::uint8_t* buf, std::size_t count,
                      std::chrono::steady_clock::time_point deadline, bool& failed);

    int Descriptor() const { return fd_; }

private:
    template <typename Change>
    bool ChangeSettings(Change&& change);
    // `move(done)` moves the next bytes as read or write would.
    template <typename Move>
    std::size_t Transfer(Move&& move, std::size_t count, short event,
                         std::chrono::steady_clock::time_point deadline, bool& failed);

    int fd_ = -1;
    std::uint32_t breaksSeen_ = 0;
    bool hasLineCounters_ = false;  // pseudo-terminals have none
    bool hungUp_ = false;
};

}  // namespace kv
