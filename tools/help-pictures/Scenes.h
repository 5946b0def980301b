// The moments of play the help document pictures, as data: which controls
// differ from the start-up state and what the text controls say.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace help_pictures {

struct Scene {
    std::string file;                 // PNG name under the output directory
    platform::Window window;
    std::vector<int> shown;           // controls shown beyond the start-up state
    std::vector<int> hidden;          // controls hidden although visible at start
    std::map<int, std::string> texts; // text and edit controls
};

std::vector<Scene> scenes();

// A row of the phrase line as the game shows it: a space before every
// character, hidden letters (and '#') as '_' until guessed.
std::string phraseLine(const std::string& phrase, const std::string& guessed);

// The letter tiles of the given letters (hidden once guessed).
std::vector<int> tilesOf(const std::string& letters);

// Face pictures for the pages: name -> bitmap number.
std::map<std::string, int> buttonFaces();

}  // namespace help_pictures
