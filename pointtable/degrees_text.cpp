#include "pointtable/degrees_text.h"

#include <algorithm>

namespace pointtable {

namespace {

constexpr int kBound = 99999;

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

ParsedNumber ParseDegrees(std::string_view text) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int whole = 0;
  std::size_t digits = 0;
  for (; digits < text.size() && Digit(text[digits]); ++digits) {
    whole = std::min(kBound, whole * 10 + (text[digits] - '0'));
  }
  if (digits == 0) return {};
  text.remove_prefix(digits);

  bool fraction = false;
  if (!text.empty() && (text.front() == '.' || text.front() == ',')) {
    text.remove_prefix(1);
    if (text.empty()) return {};
    for (char c : text) {
      if (!Digit(c)) return {};
      fraction = fraction || c != '0';
    }
    text = {};
  }
  if (!text.empty()) return {};
  const int value = negative ? -whole : whole;
  return {fraction ? NumberKind::Fraction : NumberKind::Whole, value};
}

}  // namespace pointtable
