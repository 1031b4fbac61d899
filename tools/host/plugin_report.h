// A readable account of what a host sees of a plug-in instance.
#pragma once

#include <ostream>

#include "test_host.h"

void ReportPlugin(PluginInstance& plugin, std::ostream& out);
