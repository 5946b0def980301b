// The commands, their operands, options and help texts.
#include <cstdio>

#include "cli/Commands.h"

namespace cli {

namespace {

const std::vector<Command> kCommands = {
    {"list", &runList, 0, 0, {"--grep"}, "list [--grep TEXT]",
     "Shows every record of the library, one a line: its number, phrase and hint.\n"
     "The game never draws the first and the last record.\n"
     "  --grep TEXT   only records whose phrase or hint holds TEXT (case ignored)\n"},
    {"add", &runAdd, 1, 2, {}, "add PHRASE [HINT]",
     "Adds one puzzle before the library's last record, by the add window's rules:\n"
     "a phrase of 2 to 38 characters with a letter A to Z and no \";\", a hint of at\n"
     "most 34 characters without \";\" or \":\" (none: \"no hint available\"), no\n"
     "control characters, every character in Latin-1. A phrase already in the\n"
     "library (case ignored) is refused.\n"},
    {"delete", &runDelete, 1, 1, {}, "delete N",
     "Deletes record N, numbered as list shows it.\n"},
    {"import", &runImport, 1, 1000000,
     {"--format", "--hint", "--verbose", "--dry-run",
      "--long-hints",
      "--keep-possessives",
      "--header",
      "--separator",
      "--max-size"},
     "import [--format txt|csv|kvtml] [--hint TEXT] [--verbose] [--dry-run]\n"
     "         [--long-hints skip|shorten] [--keep-possessives] [--header yes|no]\n"
     "         [--separator ,|;|tab] [--max-size SIZE] FILE...",
     "Adds the puzzles of word lists (UTF-8; \"-\" reads standard input) before the\n"
     "library's last record, so that every one can be drawn. Entries that break the\n"
     "add window's rules, and phrases already there (case ignored), are skipped; the\n"
     "end of the run tells how many were added and how many skipped for each reason.\n"
     "The library is written once, whole, or not at all.\n"
     "  --format F   txt: \"phrase;hint\", \"phrase<TAB>hint\" or a phrase alone a line\n"
     "               (lines starting with \"#\" are comments); csv: a phrase and a hint\n"
     "               column, RFC 4180 quoting; kvtml: KDE vocabulary files, each\n"
     "               entry's first translation, text and comment. Without it a\n"
     "               file named .csv is csv, any other's format is taken from its\n"
     "               content.\n"
     "  --hint TEXT  the hint of entries that have none\n"
     "  --long-hints skip|shorten\n"
     "               a hint over 34 characters: skip the entry (the default), or\n"
     "               shorten the hint at a word boundary, ending in \"...\"\n"
     "  --keep-possessives\n"
     "               keep words alone on their line that end in \"'s\" (skipped by\n"
     "               default: dictionaries list the possessive of nearly every noun)\n"
     "  --header yes|no\n"
     "               whether the first row of a txt or csv file is a header; without\n"
     "               it a first row of words like Phrase, Hint, Wort, Indice is one\n"
     "               (and tells which column holds the phrase and which the hint)\n"
     "  --separator ,|;|tab\n"
     "               the csv separator (implies --format csv); without it the one\n"
     "               the first rows show\n"
     "  --verbose    name every skipped entry with its line and reason\n"
     "  --dry-run    report, but write nothing\n"
     "  --max-size SIZE  read inputs of up to SIZE bytes (K, M or G after it for\n"
     "               KiB, MiB or GiB); 64M without it. Devices, folders and binary\n"
     "               data are never read.\n"},
    {"export", &runExport, 0, 0, {"--format"}, "export [--format txt|csv]",
     "Writes every record to standard output in UTF-8, as txt (\"phrase;hint\", the\n"
     "default) or csv; import reads both back.\n"},
    {"check", &runCheck, 0, 0, {}, "check",
     "Looks for what is wrong: a broken record grammar, a cut last record, phrases\n"
     "with no letter to guess, duplicates, texts over the limits, characters the\n"
     "game cannot show, too few records to draw. Exit code 3 when it finds any.\n"},
};

}  // namespace

const std::vector<Command>& commandTable() { return kCommands; }

const Command* findCommand(const std::string& name) {
    for (const auto& c : kCommands) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

std::string generalHelp() {
    std::string text =
        "Usage: tarvik-kxv-library [--dir DIR] COMMAND [OPTIONS] [ARGUMENTS]\n"
        "       tarvik-kxv-library --help | --version\n"
        "Manages the puzzle library of Tarvik_KXv (OnLoad.dat) in the folder the game\n"
        "uses, or in DIR (made by a command that writes when it is not there).\n"
        "Refuses to run while the game runs on that folder.\n\nCommands:\n";
    for (const auto& c : kCommands) text += std::string("  ") + c.synopsis + "\n";
    text +=
        "\nSee tarvik-kxv-library COMMAND --help, and the manual page tarvik-kxv-library(6).\n"
        "Exit codes: 0 done, 1 refused or failed (nothing changed), 2 wrong usage,\n"
        "3 check found problems.\n";
    return text;
}

void complain(const std::string& message) {
    std::fprintf(stderr, "tarvik-kxv-library: %s\n", message.c_str());
}

bool writeOut(const std::string& text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return false;
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace cli
