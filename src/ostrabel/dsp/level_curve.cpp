#include "level_curve.h"

#include "portable_math.h"

const double levelNorm = 1.0 / (1.0 - PortableExp(-3.0));

double LevelGainFor(double level) {
  return 1.0 - (1.0 - PortableExp((1.0 - level * 0.5) * (-3.0))) * levelNorm;
}
