// One word list to import, read in pieces: a file, a pipe or standard input,
// never a device or a folder, and never more than a size limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "cli/TextCensus.h"

namespace cli {

// What an import reads of one input unless --max-size says otherwise.
inline constexpr std::uint64_t kDefaultMaxInputBytes = std::uint64_t{64} << 20;

// "64M" and the like: bytes, or K, M or G (powers of 1024). False when text is none of these.
bool parseByteSize(const std::string& text, std::uint64_t& bytes);
// 64 MiB, 1.5 GiB, 300 bytes: for messages.
std::string describeByteSize(std::uint64_t bytes);

class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // name "-" is standard input. False, with the reason, for what is no word
    // list: nothing there, a folder, a device (a terminal on standard input
    // aside), a file larger than maxBytes.
    bool open(const std::string& name, std::uint64_t maxBytes, std::string& error);

    // The next piece, at most 1 MiB; false at the end or on a failure
    // (then failed() and error say why): a read error, more than maxBytes,
    // a NUL byte.
    bool read(std::string& piece, std::string& error);
    bool failed() const { return failed_; }

    // At the end: false, with the reason, when the lines were mostly no words.
    bool wasText(std::string& error) const;

    const std::string& name() const { return name_; }

private:
    bool fail(std::string& error, const std::string& what);

    int fd_ = -1;
    bool owned_ = false;
    bool failed_ = false;
    std::string name_;
    std::uint64_t max_ = 0, total_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::size_t bufferBytes_ = 0;
    TextCensus census_;
};

}  // namespace cli
