// A dynamically typed value, as the registry operations take and return it:
// the kind of a value decides the registry type written, the kind of a
// default decides how stored data is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bx {

// Type codes of the kinds.
enum TVarType : std::uint16_t {
  varEmpty = 0,
  varNull = 1,
  varSmallint = 2,
  varInteger = 3,
  varSingle = 4,
  varDouble = 5,
  varCurrency = 6,
  varDate = 7,
  varOleStr = 8,
  varBoolean = 11,
  varByte = 17,
  varString = 256,
  varArray = 0x2000,
};

class TVariant {
 public:
  TVariant() = default;  // empty
  TVariant(bool value);
  TVariant(std::int32_t value);   // integer
  TVariant(std::int16_t value);   // small integer
  TVariant(std::uint8_t value);   // byte
  TVariant(float value);          // single
  TVariant(double value);         // double
  TVariant(const std::string& value);  // string (UTF-8)
  TVariant(const char* value);
  static TVariant Null();
  static TVariant Currency(std::int64_t amountTimes10000);
  static TVariant Date(double dateTime);
  static TVariant WideString(const std::u16string& value);
  // A one-dimensional array of elementType with bounds low..high, its
  // elements' raw little-endian bytes in `bytes` (zero-filled when short).
  static TVariant Array(TVarType elementType, int low, int high,
                        const std::vector<std::uint8_t>& bytes = {});

  std::uint16_t VType() const { return FType; }
  bool IsEmpty() const { return FType == varEmpty; }
  bool IsArray() const { return (FType & varArray) != 0; }
  TVarType ElementType() const { return static_cast<TVarType>(FType & ~varArray); }
  int LowBound() const { return FLow; }
  int HighBound() const { return FHigh; }

  // Conversions; a kind that does not convert throws "Invalid variant type conversion".
  // Empty converts to "", 0 and false; true converts to 1; text converts to
  // a number only when it is plain decimal (or "True"/"False" for booleans).
  std::string AsString() const;
  std::int32_t AsInteger() const;
  bool AsBoolean() const;
  double AsDouble() const;
  std::int64_t AsCurrency() const;  // amount times 10 000
  // The raw bytes of an array's elements, or of a scalar's 8-byte value.
  const std::vector<std::uint8_t>& Bytes() const { return FBytes; }
  std::vector<std::uint8_t>& Bytes() { return FBytes; }

  bool operator==(const TVariant& other) const;

 private:
  std::uint16_t FType = varEmpty;
  std::int64_t FInt = 0;       // integers, booleans, bytes, currency
  double FFloat = 0;           // single, double, date
  std::string FString;         // string (UTF-8)
  std::u16string FWide;        // wide string
  int FLow = 0, FHigh = -1;    // array bounds
  std::vector<std::uint8_t> FBytes;  // array elements
};

// Bytes of one array element of a kind: byte 1, small integer and boolean 2,
// integer and single 4, double, currency and date 8; 0 for any other kind.
int VarElementSize(TVarType elementType);

}  // namespace bx
