// Help that is written from the command table: the members of a command
// family, the manual page and the bash completion script.
#pragma once

#include <set>
#include <string>

#include "tools/qxtool/command.h"

namespace qxtool {

// The first word of a command's name ("tree" of "tree cat").
std::string FirstWord(const char* name);
// The sub-command words of a family ("cat", "convert", "set" of "tree");
// empty when no command of several words starts with *family*.
std::set<std::string> MembersOf(const std::string& family);

// Prints qxtool(1) in roff to stdout.
void PrintManPage(const char* version);
// Prints a bash completion script for qxtool to stdout.
void PrintBashCompletion();

}  // namespace qxtool
