#include "host_kind.h"

#include <cctype>
#include <cstring>

namespace {

struct HostKey {
  const char* key;
  HostKind kind;
};

// Searched in this order: the first key found decides.
constexpr HostKey kHostTable[] = {
    {"cubase", HostCubase},       {"reaper", HostReaper},     {"nuendo", HostNuendo},
    {"cakewalk", HostCakewalk},   {"samplitude", HostSamplitude}, {"fruity", HostFruity},
    {"live", HostLive},           {"melodyne", HostMelodyne}, {"vstmanlib", HostVstManLib},
    {"aulab", HostAuLab},         {"forte", HostForte},       {"chainer", HostChainer},
    {"audition", HostAudition},   {"orion", HostOrion},       {"sawstudio", HostSawStudio},
    {"logic", HostLogic},         {"digital", HostDigital},
};

}  // namespace

HostKind LookUpHost(const char* productString) {
  if (!productString) return HostUnrecognised;
  char lowered[256];  // hosts answer into a buffer of this size
  std::size_t length = 0;
  for (; length < sizeof lowered - 1 && productString[length] != '\0'; ++length) {
    lowered[length] = static_cast<char>(std::tolower(static_cast<unsigned char>(productString[length])));
  }
  lowered[length] = '\0';
  for (const HostKey& entry : kHostTable) {
    if (std::strstr(lowered, entry.key)) return entry.kind;
  }
  return HostUnrecognised;
}
