#include "protocol/catalogue.h"

namespace protocol {

namespace {

char Byte(int value) {
  return static_cast<char>(static_cast<std::uint8_t>(value));
}

std::uint8_t At(std::string_view bytes, std::size_t index) {
  return static_cast<std::uint8_t>(bytes[index]);
}

// The curve digit: '1' for curve 1, '2' for curve 2.
char CurveDigit(int curve) {
  return Byte('0' + curve);
}

constexpr std::size_t kFirstPointByte = 3;  // zero-based: after "SD" and byte 3
constexpr std::size_t kOptionMarkByte = kFirstPointByte + kPoints;

}  // namespace

std::uint8_t EncodePoint(std::uint8_t value) {
  if (value >= 25) return static_cast<std::uint8_t>(value - 25);
  return static_cast<std::uint8_t>(153 - value);
}

std::uint8_t DecodePoint(std::uint8_t byte) {
  if (byte <= 128) return static_cast<std::uint8_t>(byte + 25);
  return static_cast<std::uint8_t>(153 - byte);
}

bool IsPointByte(std::uint8_t byte) {
  return byte <= 25 || (byte >= 129 && byte <= 153);
}

std::string VersionText(int tenths) {
  const int fraction = tenths % 10;
  return std::to_string(tenths / 10) + "." + std::to_string(fraction < 0 ? -fraction : fraction);
}

std::string VersionRequest() {
  return "VER";
}

std::string ReadCurve(int curve) {
  return std::string("RD") + CurveDigit(curve);
}

std::string ReadPlx() {
  return "RD";
}

std::string SendCurve(int curve, const CurvePoints& points) {
  std::string message = std::string("SD") + CurveDigit(curve);
  for (std::uint8_t value : points) message += static_cast<char>(EncodePoint(value));
  return message;
}

std::string SendPointCode(std::uint8_t code) {
  return std::string("SD") + static_cast<char>(code);
}

std::string RecordEeprom(int curve) {
  return std::string("EW") + CurveDigit(curve);
}

std::string LiveOn() {
  return "LON";
}

std::string LiveOff() {
  return "LOF";
}

std::string Output12V() {
  return "O12";
}

std::string Output5V() {
  return "O05";
}

std::string InputNegative() {
  return "INF";
}

std::string InputPositive() {
  return "IPF";
}

std::string SetBypassTime(int step) {
  return std::string("TT") + Byte(step);
}

std::string BypassOff() {
  return "TTS";
}

std::string SetVref(int step) {
  return std::string("PR") + Byte(step);
}

std::optional<CurvePoints> CurveReply::DecodePoints(std::string_view bytes) {
  if (bytes.size() < kCurveReplyLength - 1 || bytes.substr(0, 2) != "SD") return std::nullopt;
  CurvePoints points{};
  for (std::size_t i = 0; i < kPoints; ++i) {
    points[i] = DecodePoint(At(bytes, kFirstPointByte + i));
  }
  return points;
}

bool CurveReply::Intact(std::string_view bytes) {
  if (bytes.size() < kCurveReplyLength - 1 || bytes.substr(0, 2) != "SD") return false;
  if (bytes[kOptionMarkByte] != 'A') return false;
  for (std::size_t i = 0; i < kPoints; ++i) {
    if (!IsPointByte(At(bytes, kFirstPointByte + i))) return false;
  }
  return true;
}

std::optional<CurveReply> CurveReply::Decode(std::string_view bytes) {
  if (bytes.size() < kCurveReplyLength || bytes.substr(0, 2) != "SD") return std::nullopt;
  CurveReply reply;
  reply.byte3 = At(bytes, 2);
  reply.points = *DecodePoints(bytes);
  if (bytes[kOptionMarkByte] == 'A') {
    reply.options = OptionStatus{At(bytes, kOptionMarkByte + 1), At(bytes, kOptionMarkByte + 2),
                                 At(bytes, kOptionMarkByte + 3), At(bytes, kOptionMarkByte + 4)};
  }
  return reply;
}

std::string CurveReply::Encode() const {
  std::string bytes = "SD";
  bytes += static_cast<char>(byte3);
  for (std::uint8_t value : points) bytes += static_cast<char>(EncodePoint(value));
  if (options) {
    bytes += 'A';
    bytes += static_cast<char>(options->polarity);
    bytes += static_cast<char>(options->voltage);
    bytes += static_cast<char>(options->vref);
    bytes += static_cast<char>(options->bypass);
  } else {
    // Without the "A" mark the option bytes carry nothing.
    bytes.append(kCurveReplyLength - bytes.size(), '\0');
  }
  return bytes;
}

std::optional<VersionReply> VersionReply::Decode(std::string_view bytes) {
  if (bytes.size() != kVersionReplyLength) return std::nullopt;
  const std::string_view model = bytes.substr(0, 3);
  if (model != "QZR" && model != "PLX") return std::nullopt;
  return VersionReply{std::string(model), At(bytes, 3), At(bytes, 4), At(bytes, 5), At(bytes, 6)};
}

std::string VersionReply::Encode() const {
  std::string bytes = model.substr(0, 3);
  bytes.append(3 - bytes.size(), ' ');
  bytes += static_cast<char>(version);
  bytes += static_cast<char>(max_advance);
  bytes += static_cast<char>(max_retard);
  bytes += static_cast<char>(channels);
  return bytes;
}

std::optional<LiveFrame> LiveFrame::Decode(std::string_view bytes) {
  if (bytes.size() != kLiveFrameLength) return std::nullopt;
  return LiveFrame{At(bytes, 0), DecodePoint(At(bytes, 1))};
}

std::string LiveFrame::Encode() const {
  std::string bytes;
  bytes += static_cast<char>(period);
  bytes += static_cast<char>(EncodePoint(advance));
  return bytes;
}

}  // namespace protocol
