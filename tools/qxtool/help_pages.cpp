// The manual page and the bash completion of qxtool, both written from the
// one command table, so that neither can fall behind the commands the
// program really has. The build runs `qxtool --man-page` and
// `qxtool --bash-completion` and installs what they print.
#include "tools/qxtool/help_pages.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace qxtool {
namespace {

// Text as roff reads it: backslashes doubled as \e, a line that would start
// with a control character guarded by \&.
std::string Roff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
        lineStart = c == '\n';
    }
    return out;
}

// The "--option" words of a command's usage and help text.
std::set<std::string> OptionsOf(const Command& c) {
    std::set<std::string> options{"--help"};
    for (const char* text : {c.usage, c.details}) {
        for (const char* p = std::strstr(text, "--"); p; p = std::strstr(p + 2, "--")) {
            const char* end = p + 2;
            while ((*end >= 'a' && *end <= 'z') || (*end >= '0' && *end <= '9') || *end == '-') ++end;
            if (end - p > 2 && (p == text || p[-1] == ' ' || p[-1] == '[' || p[-1] == '\n' || p[-1] == '('))
                options.insert(std::string(p, end));
        }
    }
    return options;
}

std::string Join(const std::set<std::string>& words) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

}  // namespace

std::string FirstWord(const char* name) {
    const char* space = std::strchr(name, ' ');
    return space ? std::string(name, space) : std::string(name);
}

std::set<std::string> MembersOf(const std::string& family) {
    std::set<std::string> members;
    for (const Command* c : AllCommands()) {
        if (std::strchr(c->name, ' ') && FirstWord(c->name) == family) members.insert(c->name + family.size() + 1);
    }
    return members;
}

void PrintManPage(const char* version) {
    std::printf(".TH QXTOOL 1 \"\" \"qxtool %s\" \"User Commands\"\n", version);
    std::printf(
        ".SH NAME\nqxtool \\- tools for the qxbase tree documents, values and data files\n"
        ".SH SYNOPSIS\n.B qxtool\n.I COMMAND\n[\\fIARGUMENTS\\fR...]\n.br\n"
        ".B qxtool\n.I COMMAND\n.B \\-\\-help\n.br\n.B qxtool \\-\\-version\n"
        ".SH DESCRIPTION\n"
        "qxtool gives the services of the qxbase library to the shell: tree documents and\n"
        "VDI product data, packed values and formulas, paths, the registry store and the\n"
        "installation, translation, logging, data archives, encoded files and reports.\n"
        "A command may be several words; a family of commands called alone lists its\n"
        "members.\n"
        ".SH COMMANDS\n");
    for (const Command* c : AllCommands()) {
        std::printf(".TP\n.B %s\n%s\n.br\n%s\n", Roff(c->name).c_str(), Roff(c->usage).c_str(),
                    Roff(c->summary).c_str());
        if (*c->details) std::printf(".IP\n%s\n", Roff(c->details).c_str());
    }
    std::printf(
        ".SH EXIT STATUS\n0 on success, 1 when the operation failed (the reason is printed on\n"
        "standard error), 2 when the command line was wrong.\n");
}

void PrintBashCompletion() {
    std::set<std::string> firstWords{"--help", "--version"};
    for (const Command* c : AllCommands()) firstWords.insert(FirstWord(c->name));
    std::printf(
        "# bash completion for qxtool, written by qxtool --bash-completion\n"
        "_qxtool() {\n"
        "    local cur=${COMP_WORDS[COMP_CWORD]}\n"
        "    local command=\"${COMP_WORDS[*]:1:COMP_CWORD-1}\"\n"
        "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
        "        COMPREPLY=($(compgen -W \"%s\" -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "    local words=\"\"\n"
        "    case \"$command\" in\n",
        Join(firstWords).c_str());
    // Names of several words first, so that "tree cat FILE" is not taken
    // for a command "tree" followed by its arguments.
    std::set<std::string> families;
    for (bool severalWords : {true, false}) {
        for (const Command* c : AllCommands()) {
            if ((std::strchr(c->name, ' ') != nullptr) != severalWords) continue;
            if (severalWords) families.insert(FirstWord(c->name));
            std::printf("        \"%s\"|\"%s \"*) words=\"%s\" ;;\n", c->name, c->name,
                        Join(OptionsOf(*c)).c_str());
        }
    }
    for (const std::string& family : families) {
        std::printf("        \"%s\") words=\"%s\" ;;\n", family.c_str(), Join(MembersOf(family)).c_str());
    }
    std::printf(
        "    esac\n"
        "    if [ -n \"$words\" ] && { [[ \"$cur\" == -* ]] || [[ \"$words\" != *--* ]]; }; then\n"
        "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
        "    else\n"
        "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        "    fi\n"
        "}\n"
        "complete -o filenames -F _qxtool qxtool\n");
}

}  // namespace qxtool
