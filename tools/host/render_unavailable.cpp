#include <iostream>

#include "command_line.h"

int Render(const std::vector<std::string>&) {
  std::cerr << "ostrabel-host: this build has no audio-file support; use the native build to render\n";
  return 1;
}

const char* RenderUsage() { return ""; }
