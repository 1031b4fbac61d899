// Sets the x87 precision-control field, as some hosts do before loading plug-ins.
#pragma once

// bits: 24, 53 or 64. Returns false on other values or non-x86 machines.
bool SetX87Precision(int bits);
