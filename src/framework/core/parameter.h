// One automatable value: real value in its own units, normalised 0..1 at the
// host and editor boundaries, optional texts for integer values.
#pragma once

#include <cstdint>

#include "heap_buffer.h"

enum ParamKind : std::int32_t {
  ParamKindUnset = 0,
  ParamKindEnum = 3,
  ParamKindDouble = 4,
};

struct IValueText {
  std::int32_t value;
  char text[32];
};

class IParameter {
 public:
  IParameter();

  void SetupDouble(const char* name, double defaultValue, double minimum, double maximum, double step,
                   const char* label);
  void SetupEnum(const char* name, std::int32_t defaultValue, std::int32_t count);

  void AddDisplayText(std::int32_t value, const char* text);
  std::int32_t CountDisplayTexts() const;
  const char* FindDisplayText(std::int32_t value) const;
  bool LookUpDisplayValue(const char* text, std::int32_t* value) const;

  void SetFromNormalized(double normalized);
  double ToNormalized() const { return ToNormalized(value_); }
  double ToNormalized(double realValue) const;
  // Writes at most capacity bytes, terminator included.
  void FormatDisplay(double value, bool isNormalized, char* out, std::size_t capacity) const;

  const char* GetName() const { return name_; }
  const char* GetLabel() const { return label_; }
  ParamKind Kind() const { return kind_; }
  double Value() const { return value_; }
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  double Step() const { return step_; }
  std::int32_t DisplayPrecision() const { return displayPrecision_; }
  // Integer-valued kinds take whole numbers when a program is built.
  bool IsIntegerValued() const { return kind_ >= 1 && kind_ <= 3; }

  // State loading writes the real value directly, clamped to the range.
  void SetValueClamped(double value);

 private:
  double FromNormalized(double normalized) const;

  ParamKind kind_ = ParamKindUnset;
  double value_ = 0.0;
  double minimum_ = 0.0;
  double maximum_ = 1.0;
  double step_ = 1.0;
  double shape_ = 1.0;
  std::int32_t displayPrecision_ = 0;
  char name_[32] = {};
  char label_[32] = {};
  bool displayNegated_ = false;
  HeapBuffer displayTexts_{static_cast<std::int32_t>(sizeof(IValueText)) * 4};
};
