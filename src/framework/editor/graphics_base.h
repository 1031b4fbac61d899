// What the plug-in core needs of an editor surface. The surface itself (its
// controls, drawing and window) implements these operations.
#pragma once

#include <cstdint>

class IGraphicsBase {
 public:
  virtual ~IGraphicsBase() = default;

  // Updates every control bound to the parameter.
  virtual void ShowParamValue(std::int32_t paramIndex, double value, bool isNormalized) = 0;
  // Sets one control's value without a parameter behind it (an indicator, say).
  virtual void ShowControlValue(std::int32_t controlIndex, double value) = 0;
  // Called once when the core takes the editor.
  virtual void PrepareDrawing() = 0;

  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;

  // Creates the editor window inside the host's window; none when that fails.
  virtual void* OpenEditorWindow(void* parentWindow) = 0;
  virtual void CloseEditorWindow() = 0;
};
