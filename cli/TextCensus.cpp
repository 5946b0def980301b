#include "cli/TextCensus.h"

namespace cli {

void TextCensus::add(std::string_view bytes) {
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\n') {
            lines_ += lineHasBytes_;
            controlLines_ += lineHasControl_;
            lineHasBytes_ = lineHasControl_ = false;
            continue;
        }
        lineHasBytes_ = true;
        if ((c < 32 && c != '\t' && c != '\r') || c == 127) {
            lineHasControl_ = true;
            if (c == 0) sawNul_ = true;
        }
    }
}

bool TextCensus::mostlyNotWords() const {
    const std::size_t lines = lines_ + lineHasBytes_;
    const std::size_t control = controlLines_ + lineHasControl_;
    return control * 2 > lines;
}

}  // namespace cli
