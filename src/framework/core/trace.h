// Diagnostic trace points. The hook is deliberately empty: the plug-in keeps
// no log, but every point names its function and line so one could be added.
#pragma once

inline void TraceHook(const char* /*function*/, int /*line*/, const char* /*format*/, ...) {}

#define TRACE_POINT(function, ...) TraceHook(function, __LINE__, __VA_ARGS__)
