#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "core_effect.h"
#include "fake_editor.h"

namespace {

// Six parameters (five knobs and the on/off switch) and a handful of slots.
class ProgramsTest : public ::testing::Test {
 protected:
  ProgramsTest() { effect.DefinePedalParams(); }

  Bytes SlotBytes(std::int32_t index) const { return ChunkBytes(effect.ProgramAt(index)->values); }

  CoreEffect effect{6, "1-1 2-2", 4};
};

TEST_F(ProgramsTest, NewSlotsAreNumberedAndUninitialised) {
  CoreEffect sixteen(6, "1-1 2-2", 16);
  ASSERT_EQ(sixteen.NumPrograms(), 16);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(std::string(sixteen.GetProgramName(i)), "- " + std::to_string(i + 1) + " -");
    EXPECT_FALSE(sixteen.ProgramAt(i)->initialised);
  }
  EXPECT_EQ(sixteen.CurrentProgram(), 0);
  for (std::int32_t outside : {-1, 16, INT32_MAX, INT32_MIN}) EXPECT_STREQ(sixteen.GetProgramName(outside), "");
}

TEST_F(ProgramsTest, AddProgramTakesWholeNumbersForIntegerKinds) {
  CoreEffect mixed(4, "1-1", 2);
  mixed.ParamAt(0)->SetupDouble("Low", 0.5, 0.0, 1.0, 0.001, "");
  mixed.ParamAt(1)->SetupDouble("High", 0.5, 0.0, 1.0, 0.001, "");
  mixed.ParamAt(2)->SetupEnum("Effect", 1, 2);
  // parameter 3 stays unset and takes a double like a continuous one

  mixed.AddProgram("Crunch", 0.25, 0.75, 0, 0.5);
  mixed.AddProgram("Wild", 7.5, -1.0, 1, 1.0);  // stored unchanged, not clamped
  mixed.AddProgram("Ignored", 0.5, 0.5, 1, 0.5);  // no slot left

  EXPECT_STREQ(mixed.GetProgramName(0), "Crunch");
  EXPECT_EQ(ChunkBytes(mixed.ProgramAt(0)->values), Join({kQuarter, kThreeQuarters, kZero, kHalf}));
  EXPECT_STREQ(mixed.GetProgramName(1), "Wild");
  EXPECT_EQ(ChunkBytes(mixed.ProgramAt(1)->values), Join({kSevenHalf, kMinusOne, kOne, kOne}));
  EXPECT_TRUE(mixed.ProgramAt(0)->initialised);
  EXPECT_TRUE(mixed.ProgramAt(1)->initialised);
  EXPECT_EQ(mixed.Values(), (std::vector<double>{0.5, 0.5, 1.0, 0.0}));  // parameters untouched
}

TEST_F(ProgramsTest, AddDefaultProgramsFillsTheRemainingSlotsWithCurrentValues) {
  effect.AddProgram("Init", 0.5, 0.5, 0.5, 0.5, 0.5, 1);
  effect.ParamAt(0)->SetFromNormalized(0.25);
  effect.ParamAt(5)->SetFromNormalized(0.0);
  effect.AddDefaultPrograms("Init", 10);  // three slots left: the other repetitions do nothing

  const Bytes current = Join({kQuarter, kHalf, kHalf, kHalf, kHalf, kZero});
  EXPECT_EQ(SlotBytes(0), Join({kHalf, kHalf, kHalf, kHalf, kHalf, kOne}));
  for (int i = 1; i < 4; ++i) {
    EXPECT_STREQ(effect.GetProgramName(i), "Init");
    EXPECT_TRUE(effect.ProgramAt(i)->initialised);
    EXPECT_EQ(SlotBytes(i), current) << i;
  }

  CoreEffect unnamed(1, "1-1", 1);
  unnamed.AddDefaultPrograms(nullptr, 1);
  EXPECT_STREQ(unnamed.GetProgramName(0), "Default");
}

TEST_F(ProgramsTest, EnsureOneProgramOnlyWhenThereAreNoSlots) {
  CoreEffect none(6, "1-1 2-2", 0);
  none.DefinePedalParams();
  none.EnsureOneProgram();
  ASSERT_EQ(none.NumPrograms(), 1);
  EXPECT_STREQ(none.GetProgramName(0), "Default");
  EXPECT_TRUE(none.ProgramAt(0)->initialised);
  EXPECT_EQ(ChunkBytes(none.ProgramAt(0)->values), Join({kHalf, kHalf, kHalf, kHalf, kHalf, kOne}));
  none.EnsureOneProgram();
  EXPECT_EQ(none.NumPrograms(), 1);

  CoreEffect one(6, "1-1 2-2", 1);
  one.EnsureOneProgram();
  EXPECT_EQ(one.NumPrograms(), 1);
  EXPECT_STREQ(one.GetProgramName(0), "- 1 -");
  EXPECT_FALSE(one.ProgramAt(0)->initialised);
}

TEST_F(ProgramsTest, SelectingAFilledSlotLoadsItsValues) {
  effect.AddProgram("Init", 0.5, 0.5, 0.5, 0.5, 0.5, 1);
  effect.AddProgram("Crunch", 0.25, 0.75, 0.0, 1.0, 0.5, 0);
  auto* editor = new FakeEditor(10, 20);
  effect.AttachEditor(editor);
  editor->shown.clear();

  EXPECT_TRUE(effect.SelectProgram(1));
  EXPECT_EQ(effect.CurrentProgram(), 1);
  EXPECT_EQ(effect.Values(), (std::vector<double>{0.25, 0.75, 0.0, 1.0, 0.5, 0.0}));
  EXPECT_EQ(effect.changes, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5}));
  // the editor is shown real values, parameter by parameter
  ASSERT_EQ(editor->shown.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(editor->shown[i].param, i);
    EXPECT_EQ(editor->shown[i].value, effect.Values()[i]);
    EXPECT_FALSE(editor->shown[i].isNormalized);
  }
}

TEST_F(ProgramsTest, SelectingOutOfRangeChangesNothing) {
  effect.AddDefaultPrograms("Init", 4);
  effect.ParamAt(0)->SetFromNormalized(0.25);
  for (std::int32_t outside : {-1, 4, INT32_MAX}) {
    EXPECT_FALSE(effect.SelectProgram(outside));
    EXPECT_EQ(effect.CurrentProgram(), 0);
    EXPECT_TRUE(effect.changes.empty());
    EXPECT_EQ(effect.ParamAt(0)->Value(), 0.25);
  }
}

TEST_F(ProgramsTest, FirstSelectionOfAnEmptySlotMakesAUserPreset) {
  const struct {
    std::vector<const char*> filledNames;  // slots filled before, in order
    const char* expected;
  } cases[] = {
      {{}, "user preset 1"},
      {{"Init"}, "user preset 1"},
      {{"user preset 1", "my user preset"}, "user preset 3"},
      {{"user preset 7", "Init", "xuser presetx"}, "user preset 3"},
  };
  for (const auto& c : cases) {
    CoreEffect fx(6, "1-1 2-2", 4);
    fx.DefinePedalParams();
    for (const char* name : c.filledNames) fx.AddProgram(name, 0.1, 0.1, 0.1, 0.1, 0.1, 0);
    fx.ParamAt(2)->SetFromNormalized(0.75);
    const std::int32_t target = std::int32_t(c.filledNames.size());
    ASSERT_TRUE(fx.SelectProgram(target));
    EXPECT_STREQ(fx.GetProgramName(target), c.expected);
    EXPECT_TRUE(fx.ProgramAt(target)->initialised);
    EXPECT_EQ(fx.CurrentProgram(), target);
    EXPECT_EQ(ChunkBytes(fx.ProgramAt(target)->values), Join({kHalf, kHalf, kThreeQuarters, kHalf, kHalf, kOne}));
    EXPECT_EQ(fx.ParamAt(2)->Value(), 0.75);  // the current values are kept
  }
}

TEST_F(ProgramsTest, StoreCurrentProgramReplacesValuesAndRenamesOnlyWithAName) {
  effect.AddDefaultPrograms("Init", 4);
  const struct {
    const char* name;
    const char* expectedName;
  } cases[] = {{"", "Init"}, {nullptr, "Init"}, {"Crunch", "Crunch"}, {"", "Crunch"}};
  double knob = 0.0;
  for (const auto& c : cases) {
    knob += 0.25;
    effect.ParamAt(0)->SetFromNormalized(knob);
    effect.StoreCurrentProgram(c.name);
    EXPECT_STREQ(effect.GetProgramName(0), c.expectedName);
    StateChunk expected;
    for (double v : effect.Values()) expected.AppendDouble(v);
    EXPECT_EQ(SlotBytes(0), ChunkBytes(expected));  // 48 bytes: replaced, not appended
  }
  EXPECT_STREQ(effect.GetProgramName(1), "Init");
}

TEST_F(ProgramsTest, AttachEditorShowsNormalisedValuesAndTheCoreOwnsIt) {
  bool destroyed = false;
  {
    CoreEffect fx(2, "1-1", 1);
    fx.ParamAt(0)->SetupDouble("Gain", 12.0, -24.0, 24.0, 0.1, "dB");
    fx.ParamAt(1)->SetupEnum("Effect", 1, 2);
    auto* editor = new FakeEditor(225, 333, &destroyed);
    fx.AttachEditor(editor);
    fx.AttachEditor(nullptr);  // nothing happens
    EXPECT_EQ(fx.Editor(), editor);
    EXPECT_EQ(editor->prepareCalls, 1);
    ASSERT_EQ(editor->shown.size(), 2u);
    EXPECT_EQ(editor->shown[0].value, 0.75);
    EXPECT_TRUE(editor->shown[0].isNormalized);
    EXPECT_EQ(editor->shown[1].value, 1.0);
    EXPECT_FALSE(destroyed);
  }
  EXPECT_TRUE(destroyed);
}

TEST_F(ProgramsTest, SetParameterFromGuiTellsTheHostTheControlsValue) {
  effect.SetParameterFromGUI(5, 0.7);
  EXPECT_EQ(effect.ParamAt(5)->Value(), 1.0);
  ASSERT_EQ(effect.notified.size(), 1u);
  EXPECT_EQ(effect.notified[0].first, 5);
  EXPECT_EQ(effect.notified[0].second, 0.7);
  EXPECT_EQ(effect.changes, std::vector<std::int32_t>{5});

  effect.notified.clear();
  effect.changes.clear();
  effect.SetParameterFromGUI(0, std::nan(""));
  EXPECT_EQ(effect.ParamAt(0)->Value(), 0.5);
  EXPECT_TRUE(effect.notified.empty());
  EXPECT_TRUE(effect.changes.empty());

  effect.SetParameterFromGUI(0, 1.5);
  EXPECT_EQ(effect.ParamAt(0)->Value(), 1.0);
  effect.SetParameterFromGUI(1, -0.5);
  EXPECT_EQ(effect.ParamAt(1)->Value(), 0.0);
  ASSERT_EQ(effect.notified.size(), 2u);
  EXPECT_EQ(effect.notified[0].second, 1.0);
  EXPECT_EQ(effect.notified[1].second, 0.0);
}

}  // namespace
