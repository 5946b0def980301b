#include "game/RoundState.h"

namespace game {

RoundState roundState;

}  // namespace game
