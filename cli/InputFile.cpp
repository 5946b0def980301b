#include "cli/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace cli {

namespace {

constexpr std::size_t kPieceBytes = 1 << 20;

struct Unit {
    char letter;
    unsigned shift;
    const char* name;
};
constexpr Unit kUnits[] = {{'G', 30, "GiB"}, {'M', 20, "MiB"}, {'K', 10, "KiB"}};

const char* binaryMessage = ": binary data, not a word list";

}  // namespace

bool parseByteSize(const std::string& text, std::uint64_t& bytes) {
    std::size_t digits = 0;
    std::uint64_t n = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (n > (UINT64_MAX - 9) / 10) return false;
        n = n * 10 + static_cast<std::uint64_t>(text[digits++] - '0');
    }
    if (digits == 0 || n == 0) return false;
    std::string unit = text.substr(digits);
    if (unit.empty()) {
        bytes = n;
        return true;
    }
    const char letter = static_cast<char>(unit[0] & ~0x20);
    if (unit.size() > 1 && unit.substr(1) != "B" && unit.substr(1) != "iB") return false;
    for (const Unit& u : kUnits) {
        if (letter != u.letter) continue;
        if (n > (UINT64_MAX >> u.shift)) return false;
        bytes = n << u.shift;
        return true;
    }
    return false;
}

std::string describeByteSize(std::uint64_t bytes) {
    for (const Unit& u : kUnits) {
        const std::uint64_t one = std::uint64_t{1} << u.shift;
        if (bytes < one) continue;
        const std::uint64_t tenths = (bytes * 10 + one / 2) / one;
        std::string text = std::to_string(tenths / 10);
        if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
        return text + " " + u.name;
    }
    return std::to_string(bytes) + " bytes";
}

InputFile::~InputFile() {
    if (owned_ && fd_ >= 0) ::close(fd_);
}

bool InputFile::fail(std::string& error, const std::string& what) {
    failed_ = true;
    error = name_ + what;
    return false;
}

bool InputFile::open(const std::string& name, std::uint64_t maxBytes, std::string& error) {
    name_ = name;
    max_ = maxBytes;
    if (name == "-") {
        fd_ = STDIN_FILENO;
        name_ = "standard input";
    } else {
        fd_ = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0) {
            const int e = errno;
            return fail(error, e == ENOENT ? ": no such file" : std::string(": cannot be read (") + std::strerror(e) + ")");
        }
        owned_ = true;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return fail(error, ": cannot be read");
    if (S_ISDIR(st.st_mode)) return fail(error, ": a folder, not a word list");
    // A device never ends (/dev/zero) or is no list; a player typing one is.
    const bool typing = name == "-" && ::isatty(fd_);
    if ((S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) && !typing) return fail(error, ": a device, not a word list");
    // A small file needs no MiB of buffer (but files of /proc tell a size of 0).
    bufferBytes_ = kPieceBytes;
    if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) < kPieceBytes)
        bufferBytes_ = std::max<std::size_t>(static_cast<std::size_t>(st.st_size) + 1, 64 * 1024);
    if (S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > max_) {
        return fail(error, ": " + describeByteSize(static_cast<std::uint64_t>(st.st_size)) +
                               ", larger than the " + describeByteSize(max_) +
                               " an import reads; --max-size allows more");
    }
    return true;
}

bool InputFile::read(std::string& piece, std::string& error) {
    if (failed_) return false;
    if (!buffer_) buffer_.reset(new char[bufferBytes_]);
    ssize_t n;
    do n = ::read(fd_, buffer_.get(), bufferBytes_);
    while (n < 0 && errno == EINTR);
    if (n < 0) return fail(error, std::string(": cannot be read (") + std::strerror(errno) + ")");
    piece.assign(buffer_.get(), static_cast<std::size_t>(n));
    if (n == 0) return false;
    total_ += static_cast<std::uint64_t>(n);
    // Pipes show their size only by running past the limit.
    if (total_ > max_) return fail(error, ": more than the " + describeByteSize(max_) + " an import reads; --max-size allows more");
    census_.add(piece);
    if (census_.sawNul()) return fail(error, binaryMessage);
    return true;
}

bool InputFile::wasText(std::string& error) const {
    if (!census_.mostlyNotWords()) return true;
    error = name_ + binaryMessage;
    return false;
}

}  // namespace cli
