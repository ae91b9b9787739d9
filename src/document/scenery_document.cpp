// SPDX-License-Identifier: MIT
#include "scenery_document.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

namespace sceneshifter {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number a text begins with, as a double, or nullopt-like false. Accepts
// an optional sign, digits, a decimal part and an exponent, as a BASIC "Val"
// does; blanks before the number are skipped.
bool LeadingNumber(std::string_view text, double& value) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  std::size_t intDigits = 0, fracDigits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++intDigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++fracDigits;
  }
  if (intDigits + fracDigits == 0) {
    value = 0;
    return false;
  }
  std::size_t end = i;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      end = j;
    }
  }
  std::string_view number = text.substr(start, end - start);
  double v = 0;
  auto [ptr, ec] =
      std::from_chars(number.data(), number.data() + number.size(), v);
  if (ec == std::errc::result_out_of_range) {
    // Beyond a double's range: the position of the first significant digit
    // and the exponent tell an overflow from an underflow.
    long magnitude = 0;
    bool significant = false;
    for (std::size_t d = 0, seen = 0;
         d < number.size() && seen < intDigits + fracDigits; ++d) {
      if (!IsDigit(number[d])) continue;
      if (number[d] != '0') {
        magnitude = static_cast<long>(intDigits) - static_cast<long>(seen);
        significant = true;
        break;
      }
      ++seen;
    }
    const auto ePos = number.find_first_of("eE");
    if (significant && ePos != std::string_view::npos) {
      std::size_t j = ePos + 1;
      const bool negativeExponent = number[j] == '-';
      if (number[j] == '+' || number[j] == '-') ++j;
      long exponent = 0;
      for (; j < number.size() && exponent < 100000; ++j)
        exponent = exponent * 10 + (number[j] - '0');
      magnitude += negativeExponent ? -exponent : exponent;
    }
    v = (significant && magnitude > 0) ? HUGE_VAL : 0.0;
  } else if (ec != std::errc()) {
    v = 0;
  }
  value = negative ? -v : v;
  return true;
}

}  // namespace

std::string FormatAreaNumber(int n) {
  std::string digits = std::to_string(n < 0 ? -n : n);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return n < 0 ? "-" + digits : digits;
}

std::int16_t NumberValue(std::string_view text) {
  double v = 0;
  LeadingNumber(text, v);
  v = std::nearbyint(v);  // the default rounding mode: halves to even
  if (!(v <= 32767)) return v != v ? 0 : 32767;
  if (v < -32768) return -32768;
  return static_cast<std::int16_t>(v);
}

bool ParseLayerValue(std::string_view text, std::int16_t& out) {
  double v = 0;
  LeadingNumber(text, v);
  v = std::nearbyint(v);
  if (!(v >= -32768 && v <= 32767)) return false;
  out = static_cast<std::int16_t>(v);
  return true;
}

std::string TitleListEntry(const AreaEntry& area) {
  return std::to_string(area.Layer) + "        " + area.Title;
}

void SortAreas(SceneryDocument& doc) {
  doc.AreasSorted = false;
  const int count = std::max(0, doc.AreaCount());
  // A stable sort gives the same order as repeated exchanges of adjacent
  // records that only swap strictly greater ones.
  std::vector<std::int16_t> keys(count);
  for (int i = 0; i < count; ++i) keys[i] = NumberValue(doc.Areas[i].Number);
  if (!std::is_sorted(keys.begin(), keys.end())) {
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[a] < keys[b]; });
    // Apply the new order in place, one cycle of the permutation at a
    // time, so that the table needs no second copy.
    std::vector<bool> placed(count);
    for (int start = 0; start < count; ++start) {
      if (placed[start] || order[start] == start) continue;
      AreaEntry first = std::move(doc.Areas[start]);
      for (int to = start;;) {
        placed[to] = true;
        const int from = order[to];
        if (from == start) {
          doc.Areas[to] = std::move(first);
          break;
        }
        doc.Areas[to] = std::move(doc.Areas[from]);
        to = from;
      }
    }
    doc.AreasSorted = true;
    doc.FileChanged = true;
  }
  for (int i = 0; i < count; ++i) {
    doc.Areas[i].Layer = static_cast<std::int16_t>(i + 1);
    doc.Areas[i].Number = FormatAreaNumber(i + 1);
  }
}

}  // namespace sceneshifter
