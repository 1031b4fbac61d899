#include "parameter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "text.h"

IParameter::IParameter() = default;

void IParameter::SetupDouble(const char* name, double defaultValue, double minimum, double maximum, double step,
                             const char* label) {
  if (kind_ == ParamKindUnset) kind_ = ParamKindDouble;
  CopyText(name_, name);
  CopyText(label_, label);
  minimum_ = minimum;
  value_ = defaultValue;
  maximum_ = maximum >= minimum + step ? maximum : minimum + step;
  step_ = step;

  // Digits after the point: how often the step must be scaled by ten to become whole.
  std::int32_t precision = 0;
  double scaled = step;
  while (precision < 6) {
    if (!(std::fabs(scaled) < 9.2e18) || scaled == std::floor(scaled)) break;
    ++precision;
    scaled *= 10.0;
  }
  displayPrecision_ = precision;
}

void IParameter::SetupEnum(const char* name, std::int32_t defaultValue, std::int32_t count) {
  if (kind_ == ParamKindUnset) kind_ = ParamKindEnum;
  SetupDouble(name, defaultValue, 0.0, count - 1, 1.0, "");
}

void IParameter::AddDisplayText(std::int32_t value, const char* text) {
  const std::int32_t count = CountDisplayTexts();
  const std::int32_t before = displayTexts_.Size();
  displayTexts_.Resize((count + 1) * std::int32_t(sizeof(IValueText)), false);
  if (displayTexts_.Size() == before) return;
  IValueText& entry = static_cast<IValueText*>(displayTexts_.Data())[count];
  entry.value = value;
  CopyText(entry.text, text);
}

std::int32_t IParameter::CountDisplayTexts() const {
  return displayTexts_.Size() / std::int32_t(sizeof(IValueText));
}

const char* IParameter::FindDisplayText(std::int32_t value) const {
  const auto* entries = static_cast<const IValueText*>(displayTexts_.Data());
  for (std::int32_t i = 0; i < CountDisplayTexts(); ++i) {
    if (entries[i].value == value) return entries[i].text;
  }
  return "";
}

bool IParameter::LookUpDisplayValue(const char* text, std::int32_t* value) const {
  const auto* entries = static_cast<const IValueText*>(displayTexts_.Data());
  for (std::int32_t i = 0; i < CountDisplayTexts(); ++i) {
    if (std::strcmp(entries[i].text, text) == 0) {
      *value = entries[i].value;
      return true;
    }
  }
  return false;
}

double IParameter::FromNormalized(double normalized) const {
  return minimum_ + (maximum_ - minimum_) * (shape_ == 1.0 ? normalized : std::pow(normalized, shape_));
}

void IParameter::SetFromNormalized(double normalized) {
  double v = FromNormalized(normalized);
  if (kind_ != ParamKindDouble) v = std::floor(v / step_ + 0.5) * step_;
  value_ = v > maximum_ ? maximum_ : v;
}

double IParameter::ToNormalized(double realValue) const {
  double clamped = realValue < minimum_ ? minimum_ : (realValue > maximum_ ? maximum_ : realValue);
  const double fraction = (clamped - minimum_) / (maximum_ - minimum_);
  return shape_ == 1.0 ? fraction : std::pow(fraction, 1.0 / shape_);
}

void IParameter::SetValueClamped(double value) {
  value_ = value < minimum_ ? minimum_ : (value > maximum_ ? maximum_ : value);
}

void IParameter::FormatDisplay(double value, bool isNormalized, char* out, std::size_t capacity) const {
  if (capacity == 0) return;
  double v = isNormalized ? FromNormalized(value) : value;
  if (CountDisplayTexts() > 0 && std::isfinite(v) && std::fabs(v) < 2147483648.0) {
    const char* text = FindDisplayText(static_cast<std::int32_t>(v));
    if (text[0] != '\0') {
      CopyText(out, capacity, text);
      return;
    }
  }
  if (displayNegated_) v = -v;
  if (v == 0.0) {
    CopyText(out, capacity, "0");
  } else if (displayPrecision_ == 0) {
    const long long whole = std::isfinite(v) && std::fabs(v) < 9.2e18 ? static_cast<long long>(v) : 0;
    std::snprintf(out, capacity, "%lld", whole);
  } else {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", displayPrecision_);
    std::snprintf(out, capacity, format, v);
  }
}
