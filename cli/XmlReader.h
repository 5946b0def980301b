// A small pull reader for XML documents such as kvtml: elements, text with
// the predefined and numeric entities, CDATA sections; comments, processing
// instructions and the document type are passed over. Attributes are
// checked for form but not kept. No recursion, so any depth is safe.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class XmlReader {
public:
    enum class Token { Start, End, Text, Finished, Error };

    // The document in UTF-8.
    explicit XmlReader(std::string_view document);

    Token next();

    const std::string& name() const { return name_; }    // of Start and End
    const std::string& text() const { return text_; }    // of Text (entities resolved)
    const std::string& error() const { return error_; }  // of Error
    std::size_t line() const { return line_; }           // where the token began
    std::size_t depth() const { return open_.size(); }   // elements open after the token

private:
    Token fail(const std::string& what);
    bool skipPast(std::string_view terminator);
    bool readName(std::string& out);
    bool appendEntity(std::string& out);
    Token readTag();
    void advance(std::size_t n);

    std::string_view doc_;
    std::size_t pos_ = 0;
    std::size_t lineAtPos_ = 1;
    std::size_t line_ = 1;
    std::string name_, text_, error_;
    std::vector<std::string> open_;
    bool pendingEnd_ = false;   // the End of an element written <name/>
    bool seenRoot_ = false;
    bool failed_ = false;
};

}  // namespace cli
