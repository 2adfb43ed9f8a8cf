#include "settings/Variant.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/Errors.h"
#include "platform/Utf16.h"

namespace bx {

namespace {

[[noreturn]] void ConversionError() { throw Exception("Invalid variant type conversion"); }

std::vector<std::uint8_t> Bytes8(const void* value) {
  std::vector<std::uint8_t> bytes(8);
  std::memcpy(bytes.data(), value, 8);  // little-endian on every target
  return bytes;
}

// Plain decimal text with an optional sign, in 64 bits.
bool ParseDecimal(const std::string& text, std::int64_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
    if (magnitude > (1ull << 62)) return false;
  }
  value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

bool ParseFloat(const std::string& text, double& value) {
  if (text.empty() || text.find_first_of(" \t\n\r\f\v") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && errno == 0 && std::isfinite(value);
}

std::int32_t ToInt32(double value) {
  double rounded = std::nearbyint(value);  // halves to even
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
        rounded <= std::numeric_limits<std::int32_t>::max()))
    ConversionError();
  return static_cast<std::int32_t>(rounded);
}

std::int32_t ToInt32(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    ConversionError();
  return static_cast<std::int32_t>(value);
}

std::string FormatDouble(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

std::string FormatCurrency(std::int64_t amount) {
  bool negative = amount < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(amount)
                                     : static_cast<std::uint64_t>(amount);
  std::string text = std::to_string(magnitude / 10000);
  if (unsigned fraction = static_cast<unsigned>(magnitude % 10000)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u", fraction);
    std::string f = digits;
    while (!f.empty() && f.back() == '0') f.pop_back();
    text += "." + f;
  }
  return negative ? "-" + text : text;
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  std::size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    char c = a[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != b[i]) return false;
  }
  return true;
}

}  // namespace

int VarElementSize(TVarType elementType) {
  switch (elementType) {
    case varByte: return 1;
    case varSmallint:
    case varBoolean: return 2;
    case varInteger:
    case varSingle: return 4;
    case varDouble:
    case varCurrency:
    case varDate: return 8;
    default: return 0;
  }
}

TVariant::TVariant(bool value) : FType(varBoolean), FInt(value ? 1 : 0) {}
TVariant::TVariant(std::int32_t value) : FType(varInteger), FInt(value) {}
TVariant::TVariant(std::int16_t value) : FType(varSmallint), FInt(value) {}
TVariant::TVariant(std::uint8_t value) : FType(varByte), FInt(value) {}
TVariant::TVariant(float value) : FType(varSingle), FFloat(value) {
  FBytes = Bytes8(&FFloat);
}
TVariant::TVariant(double value) : FType(varDouble), FFloat(value) { FBytes = Bytes8(&FFloat); }
TVariant::TVariant(const std::string& value) : FType(varString), FString(value) {}
TVariant::TVariant(const char* value) : FType(varString), FString(value ? value : "") {}

TVariant TVariant::Null() {
  TVariant v;
  v.FType = varNull;
  return v;
}

TVariant TVariant::Currency(std::int64_t amountTimes10000) {
  TVariant v;
  v.FType = varCurrency;
  v.FInt = amountTimes10000;
  v.FBytes = Bytes8(&v.FInt);
  return v;
}

TVariant TVariant::Date(double dateTime) {
  TVariant v;
  v.FType = varDate;
  v.FFloat = dateTime;
  v.FBytes = Bytes8(&v.FFloat);
  return v;
}

TVariant TVariant::WideString(const std::u16string& value) {
  TVariant v;
  v.FType = varOleStr;
  v.FWide = value;
  return v;
}

TVariant TVariant::Array(TVarType elementType, int low, int high,
                         const std::vector<std::uint8_t>& bytes) {
  TVariant v;
  v.FType = static_cast<std::uint16_t>((elementType & ~varArray) | varArray);
  v.FLow = low;
  v.FHigh = high;
  std::int64_t count = static_cast<std::int64_t>(high) - low + 1;
  std::int64_t size = count > 0 ? count * VarElementSize(v.ElementType()) : 0;
  if (size > std::numeric_limits<std::int32_t>::max())
    throw Exception("Variant array too large");
  v.FBytes = bytes;
  v.FBytes.resize(static_cast<std::size_t>(size), 0);
  return v;
}

std::string TVariant::AsString() const {
  switch (FType) {
    case varEmpty: return {};
    case varSmallint:
    case varInteger:
    case varByte: return std::to_string(FInt);
    case varBoolean: return FInt ? "True" : "False";
    case varSingle:
    case varDouble:
    case varDate: return FormatDouble(FFloat);
    case varCurrency: return FormatCurrency(FInt);
    case varString: return FString;
    case varOleStr: return Utf16ToUtf8(FWide);
    default: ConversionError();
  }
}

std::int32_t TVariant::AsInteger() const {
  switch (FType) {
    case varEmpty: return 0;
    case varSmallint:
    case varInteger:
    case varByte:
    case varBoolean: return static_cast<std::int32_t>(FInt);
    case varSingle:
    case varDouble:
    case varDate: return ToInt32(FFloat);
    case varCurrency: return ToInt32(static_cast<double>(FInt) / 10000.0);
    case varString:
    case varOleStr: {
      std::int64_t value;
      if (!ParseDecimal(AsString(), value)) ConversionError();
      return ToInt32(value);
    }
    default: ConversionError();
  }
}

bool TVariant::AsBoolean() const {
  switch (FType) {
    case varEmpty: return false;
    case varSmallint:
    case varInteger:
    case varByte:
    case varBoolean:
    case varCurrency: return FInt != 0;
    case varSingle:
    case varDouble:
    case varDate: return FFloat != 0;
    case varString:
    case varOleStr: {
      std::string text = AsString();
      if (EqualsIgnoringCase(text, "true")) return true;
      if (EqualsIgnoringCase(text, "false")) return false;
      std::int64_t value;
      if (!ParseDecimal(text, value)) ConversionError();
      return value != 0;
    }
    default: ConversionError();
  }
}

double TVariant::AsDouble() const {
  switch (FType) {
    case varEmpty: return 0;
    case varSmallint:
    case varInteger:
    case varByte:
    case varBoolean: return static_cast<double>(FInt);
    case varCurrency: return static_cast<double>(FInt) / 10000.0;
    case varSingle:
    case varDouble:
    case varDate: return FFloat;
    case varString:
    case varOleStr: {
      double value;
      if (!ParseFloat(AsString(), value)) ConversionError();
      return value;
    }
    default: ConversionError();
  }
}

std::int64_t TVariant::AsCurrency() const {
  switch (FType) {
    case varCurrency: return FInt;
    case varEmpty:
    case varSmallint:
    case varInteger:
    case varByte:
    case varBoolean: return FInt * 10000;
    default: {
      double scaled = std::nearbyint(AsDouble() * 10000.0);
      if (!(std::fabs(scaled) < 9.2e18)) ConversionError();
      return static_cast<std::int64_t>(scaled);
    }
  }
}

bool TVariant::operator==(const TVariant& other) const {
  if (FType != other.FType) return false;
  if (IsArray())
    return FLow == other.FLow && FHigh == other.FHigh && FBytes == other.FBytes;
  switch (FType) {
    case varSingle:
    case varDouble:
    case varDate: return FFloat == other.FFloat;
    case varString: return FString == other.FString;
    case varOleStr: return FWide == other.FWide;
    default: return FInt == other.FInt;
  }
}

}  // namespace bx
