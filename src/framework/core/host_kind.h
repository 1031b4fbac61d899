// What the plug-in knows of the host that loaded it, found from its product string.
#pragma once

#include <cstdint>

using HostKind = std::int32_t;

enum : HostKind {
  HostNotAsked = -1,
  HostUnrecognised = 0,
  HostReaper = 1,
  HostCubase = 3,
  HostNuendo = 4,
  HostCakewalk = 5,
  HostFruity = 7,
  HostSamplitude = 8,
  HostLive = 9,
  HostMelodyne = 12,
  HostVstManLib = 13,
  HostAuLab = 14,
  HostForte = 15,
  HostChainer = 16,
  HostAudition = 17,
  HostOrion = 18,
  HostSawStudio = 20,
  HostLogic = 21,
  HostDigital = 22,
};

// The first key of the host table found in the product string (any letter case).
HostKind LookUpHost(const char* productString);
