// The one function the entry point calls to build the effect; the effect's
// own sources define it.
#pragma once

#include "vst_abi.h"

class IEffectVST;

IEffectVST* CreateEffectInstance(audioMasterCallback hostCallback);
