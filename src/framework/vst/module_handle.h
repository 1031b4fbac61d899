// The handle of the loaded plug-in library (for window classes and resources).
#pragma once

void* ModuleHandle();
