// Core Foundation numbers: an integer of up to 64 bits or a double, and the
// conversions between them and the C types the caller names. Conversions
// saturate instead of overflowing, so no input leads to undefined behaviour.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "CoreFoundation.h"
#include "internal/CFRuntime.h"

namespace {

enum class Kind { integer, real, unknown };

struct TypeInfo {
  Kind kind;
  int64_t min;  // the limits of integer types
  int64_t max;
  size_t size;  // bytes of integer types
};

template <class T>
constexpr TypeInfo integerType() {
  return {Kind::integer, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), sizeof(T)};
}

TypeInfo typeInfo(CFNumberType type) {
  switch (type) {
    case kCFNumberSInt8Type:
    case kCFNumberCharType:
      return integerType<int8_t>();
    case kCFNumberSInt16Type:
    case kCFNumberShortType:
      return integerType<int16_t>();
    case kCFNumberSInt32Type:
    case kCFNumberIntType:
      return integerType<int32_t>();
    case kCFNumberSInt64Type:
    case kCFNumberLongLongType:
      return integerType<int64_t>();
    case kCFNumberLongType:
      return integerType<long>();
    case kCFNumberCFIndexType:
      return integerType<CFIndex>();
    case kCFNumberFloat32Type:
    case kCFNumberFloatType:
    case kCFNumberFloat64Type:
    case kCFNumberDoubleType:
      return {Kind::real, 0, 0, 0};
    default:
      return {Kind::unknown, 0, 0, 0};
  }
}

bool isSinglePrecision(CFNumberType type) { return type == kCFNumberFloat32Type || type == kCFNumberFloatType; }

int64_t readInteger(CFNumberType type, const void* p) {
  switch (typeInfo(type).size) {
    case 1:
      return *static_cast<const int8_t*>(p);
    case 2:
      return *static_cast<const int16_t*>(p);
    case 4:
      return *static_cast<const int32_t*>(p);
    default:
      return *static_cast<const int64_t*>(p);
  }
}

void writeInteger(CFNumberType type, int64_t value, void* p) {
  switch (typeInfo(type).size) {
    case 1:
      *static_cast<int8_t*>(p) = static_cast<int8_t>(value);
      break;
    case 2:
      *static_cast<int16_t*>(p) = static_cast<int16_t>(value);
      break;
    case 4:
      *static_cast<int32_t*>(p) = static_cast<int32_t>(value);
      break;
    default:
      *static_cast<int64_t*>(p) = value;
      break;
  }
}

// A double cut toward zero and held within [min, max]; NaN gives 0.
int64_t saturatedInteger(double value, int64_t min, int64_t max) {
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; comparing in double avoids an
  // out-of-range conversion, which would be undefined.
  if (value >= static_cast<double>(max)) return max;
  if (value <= static_cast<double>(min)) return min;
  return static_cast<int64_t>(value);
}

void writeReal(CFNumberType type, double value, void* p, bool& exact) {
  if (!isSinglePrecision(type)) {
    *static_cast<double*>(p) = value;
    return;
  }
  // Beyond the float range the conversion would be undefined; infinity is
  // what an IEEE conversion gives.
  constexpr double floatMax = std::numeric_limits<float>::max();
  float f;
  if (value > floatMax)
    f = std::numeric_limits<float>::infinity();
  else if (value < -floatMax)
    f = -std::numeric_limits<float>::infinity();
  else
    f = static_cast<float>(value);
  exact = exact && (static_cast<double>(f) == value || (std::isnan(value) && std::isnan(f)));
  *static_cast<float*>(p) = f;
}

}  // namespace

CFTypeID CFNumberGetTypeID() { return kCFNumberTypeID; }

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType theType, const void* valuePtr) {
  if (valuePtr == nullptr) return nullptr;
  switch (typeInfo(theType).kind) {
    case Kind::integer:
      return new CFNumberRecord(readInteger(theType, valuePtr));
    case Kind::real:
      return new CFNumberRecord(isSinglePrecision(theType) ? static_cast<double>(*static_cast<const float*>(valuePtr))
                                                           : *static_cast<const double*>(valuePtr));
    case Kind::unknown:
      break;
  }
  return nullptr;
}

CFNumberType CFNumberGetType(CFNumberRef number) {
  const CFNumberRecord* record = tb::cfNumberRecord(number);
  if (record == nullptr) return 0;
  return record->isFloat ? kCFNumberFloat64Type : kCFNumberSInt64Type;
}

Boolean CFNumberIsFloatType(CFNumberRef number) {
  const CFNumberRecord* record = tb::cfNumberRecord(number);
  return record != nullptr && record->isFloat;
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void* valuePtr) {
  const CFNumberRecord* record = tb::cfNumberRecord(number);
  const TypeInfo info = typeInfo(theType);
  if (record == nullptr || valuePtr == nullptr || info.kind == Kind::unknown) return false;

  if (info.kind == Kind::integer) {
    int64_t value;
    bool exact;
    if (record->isFloat) {
      value = saturatedInteger(record->real, info.min, info.max);
      const bool inInt64 = record->real >= -0x1p63 && record->real < 0x1p63;
      exact = inInt64 && static_cast<double>(value) == record->real;
    } else {
      value = std::clamp(record->integer, info.min, info.max);
      exact = value == record->integer;
    }
    writeInteger(theType, value, valuePtr);
    return exact;
  }

  bool exact = true;
  double value = record->real;
  if (!record->isFloat) {
    value = static_cast<double>(record->integer);
    // Integers beyond 2^53 may not survive; 2^63 itself is out of int64 range.
    exact = value < 0x1p63 && static_cast<int64_t>(value) == record->integer;
  }
  writeReal(theType, value, valuePtr, exact);
  return exact;
}
