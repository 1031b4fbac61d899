#include <gtest/gtest.h>

#include "core/host_kind.h"
#include "core_effect.h"

namespace {

TEST(HostKindTest, ProductStringsMapThroughTheTableInOrder) {
  const struct {
    const char* product;
    HostKind expected;
  } cases[] = {
      {"REAPER", HostReaper},
      {"Cubase VST", HostCubase},
      {"cUbAsE SX", HostCubase},
      {"Ableton Live", HostLive},
      {"Steinberg Nuendo", HostNuendo},
      {"Nuendo (Cubase engine)", HostCubase},  // "cubase" is searched before "nuendo"
      {"Live with Cubase", HostCubase},        // and before "live"
      {"Reaper Live", HostReaper},             // "reaper" before "live"
      {"Nuendo Live", HostNuendo},
      {"Cakewalk SONAR", HostCakewalk},
      {"Samplitude", HostSamplitude},
      {"Fruity Loops", HostFruity},
      {"Melodyne", HostMelodyne},
      {"VSTManLib", HostVstManLib},
      {"AULab", HostAuLab},
      {"AU Lab", HostUnrecognised},  // the key is searched whole
      {"Forte", HostForte},
      {"Chainer", HostChainer},
      {"Adobe Audition", HostAudition},
      {"Orion Platinum", HostOrion},
      {"SAWStudio", HostSawStudio},
      {"Logic Pro", HostLogic},
      {"Digital Performer", HostDigital},
      {"Bitwig Studio", HostUnrecognised},
      {"", HostUnrecognised},
      {nullptr, HostUnrecognised},
  };
  for (const auto& c : cases) EXPECT_EQ(LookUpHost(c.product), c.expected) << (c.product ? c.product : "(none)");
}

TEST(HostKindTest, CoreRecordsHostAndVersion) {
  CoreEffect effect(0, nullptr, 0);
  EXPECT_EQ(effect.Host(), HostNotAsked);
  EXPECT_EQ(effect.IdentifyHost(), HostNotAsked);
  EXPECT_EQ(effect.HostVersion(), 0);

  effect.SetHost("Cubase SX", 0x4050C);
  EXPECT_EQ(effect.Host(), HostCubase);
  EXPECT_EQ(effect.IdentifyHost(), HostCubase);
  EXPECT_EQ(effect.HostVersion(), 0x4050C);

  effect.SetHost("", 0);
  EXPECT_EQ(effect.Host(), HostUnrecognised);
}

TEST(HostKindTest, VersionInPackedAndDecimalForm) {
  const struct {
    std::int32_t packed;
    std::int32_t decimal;
  } cases[] = {{0x20300, 20300}, {0x10203, 10203}, {0x0A0B0C, 101112}, {0, 0}};
  for (const auto& c : cases) {
    CoreEffect effect(0, nullptr, 0, c.packed);
    EXPECT_EQ(effect.GetVersion(false), c.packed);
    EXPECT_EQ(effect.GetVersion(true), c.decimal) << std::hex << c.packed;
  }
}

}  // namespace
