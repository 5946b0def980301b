// What every fuzz target shares: a private folder for the program's files,
// the in-memory desktop, program-wide state put back before each input, and
// a check that stops the run with a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// The program's files live in one private folder for the whole run, on
// /dev/shm where there is one (a tmpfs makes the fsyncs of every write
// cheap), else under $TMPDIR or /tmp. The folder is removed at exit.
// Before each input: every program-wide record back at its start value, the
// folder emptied, library::appPaths pointing into it, a fresh in-memory desktop.
void resetProgram();

// The folder's files by their names (KXData.dat, OnLoad.dat, ...).
std::string pathOf(const std::string& name);
void writeFile(const std::string& name, const std::string& bytes);
// The file's bytes; false when there is no such file.
bool readFile(const std::string& name, std::string& bytes);
std::string readFile(const std::string& name);

// Start-up's unscramble, which makes this run the library's holder (the
// plain file is the library when there is no scrambled file), so that adds
// and deletes may store it.
void takeLibrary();

// Beeps the in-memory desktop has heard since the last reset.
int beeps();
// Types text into an edit field of the in-memory desktop, and reads it.
void type(int controlId, const std::string& text);
std::string text(int controlId);

// Stops the run with what was expected, so that libFuzzer saves the input.
[[noreturn]] void fail(const char* file, int line, const std::string& what);

// A printable, one-line view of bytes for the failure messages.
std::string show(const std::string& bytes);

}  // namespace fuzz

#define FUZZ_CHECK(condition, what)                                            \
    do {                                                                       \
        if (!(condition)) ::fuzz::fail(__FILE__, __LINE__, std::string(#condition) + ": " + (what)); \
    } while (0)
