// The game's records and inner operations for its tests: agents, the map, the meters and the
// readers, so that tests can set up a situation and check its outcome directly.
#pragma once

#include "game/UntGame.h"
#include "game/gameInternal.h"
