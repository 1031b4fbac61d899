#pragma once

#include <string>
#include <utility>
#include <vector>

// NAME=VALUE with a normalised value, or On/Off for a switch.
bool ParseSetting(const std::string& text, std::pair<std::string, float>* setting);

// The render command (audio files in and out); only builds with libsndfile have it.
int Render(const std::vector<std::string>& args);
const char* RenderUsage();
