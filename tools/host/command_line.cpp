#include "command_line.h"

#include <cstdlib>

bool ParseSetting(const std::string& text, std::pair<std::string, float>* setting) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  const std::string value = text.substr(equals + 1);
  setting->first = text.substr(0, equals);
  if (value == "On" || value == "on") {
    setting->second = 1.0f;
  } else if (value == "Off" || value == "off") {
    setting->second = 0.0f;
  } else {
    char* end = nullptr;
    setting->second = std::strtof(value.c_str(), &end);
    if (value.empty() || *end != '\0') return false;
  }
  return true;
}
