// Placeholder until the draw lands.
#include "game/Draw.h"
namespace game {
bool drawPuzzle() { return false; }
void findAndFlag(const std::string&, const std::string&) {}
std::string& replaceAll(std::string& t, const std::string&, const std::string&) { return t; }
}
