// The controller's wire format: every command the program sends, byte for byte, the
// point and version byte encodings, and decoders for the three reply records. Shared
// with the controller emulator (sim/), which speaks the other side of it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

constexpr std::size_t kPoints = 26;
using CurvePoints = std::array<std::uint8_t, kPoints>;  // point values, 25 = 0 degrees

constexpr std::size_t kCurveReplyLength = 34;
constexpr std::size_t kVersionReplyLength = 7;
constexpr std::size_t kLiveFrameLength = 2;

// Point byte: sign-and-magnitude degrees on the wire.
std::uint8_t EncodePoint(std::uint8_t value);
// Never rejects: bytes 26..128 give 51..153, bytes 154..255 wrap to 255..154.
std::uint8_t DecodePoint(std::uint8_t byte);
// The byte is one the encoding produces for a value 0 to 50.
bool IsPointByte(std::uint8_t byte);

// Version byte in tenths as text: 60 -> "6.0", 5 -> "0.5", 123 -> "12.3".
std::string VersionText(int tenths);

// Commands. Texts hold raw bytes; nothing is appended.
std::string VersionRequest();                                 // "VER"
std::string ReadCurve(int curve);                             // "RD1", "RD2"
std::string ReadPlx();                                        // "RD"
std::string SendCurve(int curve, const CurvePoints& points);  // "SD" n + 26 point bytes
std::string SendPointCode(std::uint8_t code);                 // "SD" + code
std::string RecordEeprom(int curve);                          // "EW" n
std::string LiveOn();                                         // "LON"
std::string LiveOff();                                        // "LOF"
std::string Output12V();                                      // "O12"
std::string Output5V();                                       // "O05"
std::string InputNegative();                                  // "INF"
std::string InputPositive();                                  // "IPF"
std::string SetBypassTime(int step);                          // "TT" + low byte of step
std::string BypassOff();                                      // "TTS"
std::string SetVref(int step);                                // "PR" + low byte of step

// The controller's option status at the end of a curve reply.
struct OptionStatus {
  std::uint8_t polarity = 0;  // 'P' positive, 'N' negative
  std::uint8_t voltage = 0;   // 5 or 12
  std::uint8_t vref = 0;      // step 0..15
  std::uint8_t bypass = 0;    // step 1..20, or 'S' for off
};

// 34 bytes: "SD", one unexamined byte, 26 point bytes, then "A" and the option status.
struct CurveReply {
  std::uint8_t byte3 = 0;
  CurvePoints points{};                 // decoded point values
  std::optional<OptionStatus> options;  // present when byte 30 is "A"

  // Nothing unless the text is at least 34 bytes long and begins with "SD".
  static std::optional<CurveReply> Decode(std::string_view bytes);
  // The points alone need only 33 bytes: the controller's reply counts as come once
  // byte 33 is there, and only the option status needs byte 34.
  static std::optional<CurvePoints> DecodePoints(std::string_view bytes);
  // The first 33 bytes or more are a reply as the controller sends it: "SD", 26 bytes
  // the point encoding produces (0 to 25, 129 to 153) and "A" at byte 30. A byte lost
  // or added on the line moves the "A" or a byte the encoding never makes into view.
  static bool Intact(std::string_view bytes);
  std::string Encode() const;
};

// 7 bytes: model code, firmware version in tenths, advance and retard limits, channels.
struct VersionReply {
  std::string model;  // "QZR" or "PLX"
  std::uint8_t version = 0;
  std::uint8_t max_advance = 0;
  std::uint8_t max_retard = 0;
  std::uint8_t channels = 0;  // 'D' two channels, 'S' one

  // Nothing unless exactly 7 bytes beginning with "QZR" or "PLX".
  static std::optional<VersionReply> Decode(std::string_view bytes);
  std::string Encode() const;
};

// 2 bytes: engine period byte and present advance as a point byte.
struct LiveFrame {
  std::uint8_t period = 0;
  std::uint8_t advance = 0;  // decoded point value

  static std::optional<LiveFrame> Decode(std::string_view bytes);
  std::string Encode() const;
};

// The controller's confirmations.
inline constexpr std::string_view kSendAccepted = "OK";
inline constexpr std::string_view kRecorded = "RECOK";
inline constexpr std::string_view kTimeSet = "CHT";
inline constexpr std::string_view kTimeOff = "CHS";
inline constexpr std::string_view kVrefSet = "CHR";
inline constexpr std::string_view kNow12V = "CH12";
inline constexpr std::string_view kNow5V = "CH05";
inline constexpr std::string_view kNowPositive = "CHPF";
inline constexpr std::string_view kNowNegative = "CHNF";

}  // namespace protocol
