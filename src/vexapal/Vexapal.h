// vexapal, Vexa's command-line companion: converts palettes between the formats of other programs,
// shows them and compares them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Runs one command line (the arguments after the program's name). Returns the exit status: 0 done
// (diff: the palettes are equal), 1 diff: they differ, 2 trouble, told in one line on err. With a
// colour terminal, show adds a swatch to each line.
int RunVexapal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool colourTerminal);
