// Programs as the host sees them: selection, renaming, names by index.
#include <cstring>

#include "plugin_under_test.h"

namespace {

using ProgramsTest = PluginTest;

TEST_F(ProgramsTest, SelectingAProgramRestoresItsValuesAndKeepsEditsOfTheLastOne) {
  auto plugin = Started();
  plugin->SetParameter(1, 0.9f);  // edit program 0
  plugin->Dispatch(effSetProgram, 0, 4);
  EXPECT_EQ(plugin->Dispatch(effGetProgram), 4);
  EXPECT_FLOAT_EQ(plugin->GetParameter(1), 0.5f);
  plugin->Dispatch(effSetProgram, 0, 0);
  EXPECT_FLOAT_EQ(plugin->GetParameter(1), 0.9f);  // the edit was saved into program 0 on leaving it
}

TEST_F(ProgramsTest, OutOfRangeSelectionKeepsTheCurrentProgram) {
  auto plugin = Started();
  plugin->Dispatch(effSetProgram, 0, 3);
  for (VstIntPtr index : {VstIntPtr(-1), VstIntPtr(16), VstIntPtr(1) << (8 * sizeof(VstIntPtr) - 2)}) {
    EXPECT_EQ(plugin->Dispatch(effSetProgram, 0, index), 0);
    EXPECT_EQ(plugin->Dispatch(effGetProgram), 3);
  }
}

TEST_F(ProgramsTest, RenamingStoresTheValuesAndAnEmptyNameKeepsTheOldOne) {
  auto plugin = Started();
  plugin->Dispatch(effSetProgram, 0, 2);
  plugin->SetParameter(0, 0.2f);
  char name[] = "Fuzz Lead";
  plugin->Dispatch(effSetProgramName, 0, 0, name);
  EXPECT_EQ(plugin->Text(effGetProgramName), "Fuzz Lead");
  EXPECT_EQ(plugin->ProgramName(2), "Fuzz Lead");
  char empty[] = "";
  plugin->SetParameter(0, 0.3f);
  plugin->Dispatch(effSetProgramName, 0, 0, empty);
  EXPECT_EQ(plugin->ProgramName(2), "Fuzz Lead");
  plugin->Dispatch(effSetProgram, 0, 0);
  plugin->Dispatch(effSetProgram, 0, 2);
  EXPECT_FLOAT_EQ(plugin->GetParameter(0), 0.3f);
}

TEST_F(ProgramsTest, NamesReachTheHostWithinTheStandardSize) {
  auto plugin = Started();
  char longName[] = "A program name far longer than twenty-four bytes";
  plugin->Dispatch(effSetProgramName, 0, 0, longName);
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(plugin->Dispatch(effGetProgramNameIndexed, 0, 0, buffer), 1);
  EXPECT_EQ(std::strlen(buffer), 23u);
  for (std::size_t i = 24; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(plugin->Dispatch(effGetProgramNameIndexed, 16, 0, buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(plugin->Dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
}

}  // namespace
