// An editor surface that records what the core tells it.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/graphics_base.h"

struct ShownValue {
  std::int32_t param;
  double value;
  bool isNormalized;
};

class FakeEditor : public IGraphicsBase {
 public:
  FakeEditor(std::int32_t width, std::int32_t height, bool* destroyed = nullptr)
      : width_(width), height_(height), destroyed_(destroyed) {}
  ~FakeEditor() override {
    if (destroyed_) *destroyed_ = true;
  }

  void ShowParamValue(std::int32_t paramIndex, double value, bool isNormalized) override {
    shown.push_back({paramIndex, value, isNormalized});
  }
  void ShowControlValue(std::int32_t, double) override {}
  void PrepareDrawing() override { ++prepareCalls; }
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void* OpenEditorWindow(void* parent) override {
    openedWith = parent;
    return windowToReturn;
  }
  void CloseEditorWindow() override { ++closeCalls; }

  std::vector<ShownValue> shown;
  int prepareCalls = 0;
  int closeCalls = 0;
  void* openedWith = nullptr;
  void* windowToReturn = nullptr;

 private:
  std::int32_t width_;
  std::int32_t height_;
  bool* destroyed_;
};
