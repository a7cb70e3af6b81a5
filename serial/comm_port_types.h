// The serial driver's enumerations with their ordinals (the ordinals of data bits,
// parity and stop bits go to the device as they are) and the baud rate table.
#pragma once

#include <array>
#include <cstdint>

namespace serial {

enum class TPortNumber {
  pnCustom = 0,
  pnCOM1,
  pnCOM2,
  pnCOM3,
  pnCOM4,
  pnCOM5,
  pnCOM6,
  pnCOM7,
  pnCOM8,
  pnCOM9,
  pnCOM10,
  pnCOM11,
  pnCOM12,
  pnCOM13,
  pnCOM14,
  pnCOM15,
  pnCOM16,
};

enum class TBaudRate {
  brCustom = 0,
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000,
};

// Bits per second of each TBaudRate; brCustom is 0 and never written to BaudRateValue.
inline constexpr std::array<std::uint32_t, 16> BaudRateValues = {
    0,     110,   300,   600,   1200,  2400,   4800,   9600,
    14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

enum class TDataBits { db5BITS = 0, db6BITS, db7BITS, db8BITS };
enum class TStopBits { sb1BITS = 0, sb1HALFBITS, sb2BITS };
enum class TParity { ptNONE = 0, ptODD, ptEVEN, ptMARK, ptSPACE };
enum class THwFlowControl { hfNONE = 0, hfNONERTSON, hfRTSCTS };
enum class TSwFlowControl { sfNONE = 0, sfXONXOFF };

// The modem input lines that are on.
struct TModemLines {
  bool mlCTS = false;
  bool mlDSR = false;
  bool mlRing = false;
  bool mlCarrier = false;
  bool Empty() const { return !mlCTS && !mlDSR && !mlRing && !mlCarrier; }
  friend bool operator==(const TModemLines&, const TModemLines&) = default;
};

}  // namespace serial
