// Program slots and the parameter state format.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "../editor/graphics_base.h"
#include "effect_base.h"
#include "text.h"
#include "trace.h"

IProgramSlot* IEffectBase::FirstUninitialisedSlot() const {
  for (std::int32_t i = 0; i < programs_.Count(); ++i) {
    if (!Slot(i)->initialised) return Slot(i);
  }
  return nullptr;
}

void IEffectBase::AddProgram(const char* name, ...) {
  IProgramSlot* slot = FirstUninitialisedSlot();
  if (!slot) return;
  slot->initialised = true;
  CopyText(slot->name, name);
  va_list values;
  va_start(values, name);
  for (std::int32_t i = 0; i < NumParams(); ++i) {
    // Integer-valued kinds are given whole numbers, the others doubles.
    const double value = ParamAt(i)->IsIntegerValued() ? double(va_arg(values, int)) : va_arg(values, double);
    slot->values.AppendDouble(value);
  }
  va_end(values);
}

void IEffectBase::FillSlotWithCurrentValues(IProgramSlot* slot, const char* name) {
  slot->initialised = true;
  CopyText(slot->name, name ? name : "Default");
  SerializeParamValues(slot->values);
}

void IEffectBase::AddDefaultPrograms(const char* name, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) {
    if (IProgramSlot* slot = FirstUninitialisedSlot()) FillSlotWithCurrentValues(slot, name);
  }
}

void IEffectBase::EnsureOneProgram() {
  if (programs_.Count() > 0) return;
  auto* slot = new IProgramSlot();
  std::snprintf(slot->name, sizeof slot->name, "- %d -", 1);
  if (!programs_.Add(slot)) {
    delete slot;
    return;
  }
  FillSlotWithCurrentValues(slot, "Default");
}

bool IEffectBase::SelectProgram(std::int32_t index) {
  IProgramSlot* slot = Slot(index);
  if (!slot) return false;
  bool success;
  if (slot->initialised) {
    success = UnserializeParams(slot->values, 0) > 0;
  } else {
    slot->initialised = true;
    MakeUserProgramName(slot->name, sizeof slot->name);
    success = SerializeParamValues(slot->values);
  }
  if (success) {
    currentProgram_ = index;
    RefreshEditorParams();
  }
  return success;
}

void IEffectBase::StoreCurrentProgram(const char* name) {
  IProgramSlot* slot = Slot(currentProgram_);
  if (!slot) return;
  slot->values.Clear();
  SerializeParamValues(slot->values);
  if (name && name[0] != '\0') CopyText(slot->name, name);
}

const char* IEffectBase::GetProgramName(std::int32_t index) const {
  const IProgramSlot* slot = Slot(index);
  return slot ? slot->name : "";
}

void IEffectBase::MakeUserProgramName(char* out, std::size_t capacity) const {
  std::int32_t count = 0;
  for (std::int32_t i = 0; i < programs_.Count(); ++i) {
    if (std::strstr(Slot(i)->name, "user preset")) ++count;
  }
  std::snprintf(out, capacity, "%s %d", "user preset", count + 1);
}

bool IEffectBase::SerializeParamValues(StateChunk& chunk) {
  PlugLock lock(mutex_);
  bool ok = true;
  for (std::int32_t i = 0; i < NumParams(); ++i) ok = chunk.AppendDouble(ParamAt(i)->Value()) && ok;
  return ok && (NumParams() == 0 || chunk.Size() > 0);
}

std::int32_t IEffectBase::UnserializeParams(const StateChunk& chunk, std::int32_t start) {
  PlugLock lock(mutex_);
  std::int32_t position = start;
  for (std::int32_t i = 0; i < NumParams() && position >= 0; ++i) {
    IParameter* param = ParamAt(i);
    TRACE_POINT("IEffectBase::UnserializeParams", "%d %s", i, param->GetName());
    double value = 0.0;
    if (chunk.ReadDouble(position, &value)) {
      position += 8;
    } else {
      position = -1;
      value = 0.0;
    }
    // A non-finite value (junk state) falls to the parameter's minimum.
    param->SetValueClamped(std::isfinite(value) ? value : param->Minimum());
  }
  for (std::int32_t i = 0; i < NumParams(); ++i) HandleParamChange(i);
  return position;
}

void IEffectBase::RefreshEditorParams() {
  if (!editor_) return;
  for (std::int32_t i = 0; i < NumParams(); ++i) editor_->ShowParamValue(i, ParamAt(i)->Value(), false);
}
