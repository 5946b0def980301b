#include "cli/XmlReader.h"

#include <cstring>

namespace cli {

namespace {

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void appendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

struct Entity {
    const char* name;
    char value;
};
constexpr Entity kEntities[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};

}  // namespace

XmlReader::XmlReader(std::string_view document) : doc_(document) {}

void XmlReader::advance(std::size_t n) {
    for (std::size_t k = 0; k < n && pos_ < doc_.size(); ++k) {
        if (doc_[pos_++] == '\n') ++lineAtPos_;
    }
}

XmlReader::Token XmlReader::fail(const std::string& what) {
    failed_ = true;
    error_ = "line " + std::to_string(lineAtPos_) + ": " + what;
    return Token::Error;
}

bool XmlReader::skipPast(std::string_view terminator) {
    const std::size_t at = doc_.find(terminator, pos_);
    if (at == std::string_view::npos) return false;
    advance(at + terminator.size() - pos_);
    return true;
}

bool XmlReader::readName(std::string& out) {
    const std::size_t start = pos_;
    while (pos_ < doc_.size() && isNameChar(doc_[pos_])) ++pos_;
    out.assign(doc_.substr(start, pos_ - start));
    return !out.empty();
}

bool XmlReader::appendEntity(std::string& out) {
    // pos_ stands on '&'.
    const std::size_t semi = doc_.find(';', pos_);
    if (semi == std::string_view::npos || semi - pos_ > 12) return false;
    const std::string_view ref = doc_.substr(pos_ + 1, semi - pos_ - 1);
    if (!ref.empty() && ref[0] == '#') {
        const bool hex = ref.size() > 1 && ref[1] == 'x';
        const std::string_view digits = ref.substr(hex ? 2 : 1);
        if (digits.empty()) return false;
        unsigned long cp = 0;
        for (char c : digits) {
            int v = -1;
            if (c >= '0' && c <= '9') v = c - '0';
            else if (hex && c >= 'a' && c <= 'f') v = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') v = c - 'A' + 10;
            if (v < 0) return false;
            cp = cp * (hex ? 16 : 10) + static_cast<unsigned long>(v);
            if (cp > 0x10FFFF) return false;
        }
        if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        appendUtf8(out, cp);
    } else {
        bool known = false;
        for (const auto& e : kEntities) {
            if (ref == e.name) {
                out.push_back(e.value);
                known = true;
            }
        }
        if (!known) return false;
    }
    advance(semi + 1 - pos_);
    return true;
}

XmlReader::Token XmlReader::next() {
    if (failed_) return Token::Error;
    if (pendingEnd_) {
        pendingEnd_ = false;
        name_ = open_.back();
        open_.pop_back();
        return Token::End;
    }
    while (true) {
        line_ = lineAtPos_;
        if (pos_ >= doc_.size()) {
            if (!open_.empty()) return fail("the document ends inside <" + open_.back() + ">");
            if (!seenRoot_) return fail("no element at all");
            return Token::Finished;
        }
        if (doc_[pos_] == '<') {
            const Token t = readTag();
            if (t == Token::Text && text_.empty()) continue;   // a comment or the like
            return t;
        }
        // Character data up to the next tag.
        text_.clear();
        while (pos_ < doc_.size() && doc_[pos_] != '<') {
            if (doc_[pos_] == '&') {
                if (!appendEntity(text_)) return fail("an unknown or malformed entity");
                continue;
            }
            text_.push_back(doc_[pos_]);
            advance(1);
        }
        if (open_.empty()) {
            // Outside the root only blanks may stand.
            for (char c : text_) {
                if (!isSpace(c)) return fail("text outside the root element");
            }
            continue;
        }
        return Token::Text;
    }
}

// pos_ stands on '<'. Returns Text with an empty text for constructs that
// carry nothing (comments, declarations, processing instructions).
XmlReader::Token XmlReader::readTag() {
    const std::string_view rest = doc_.substr(pos_);
    text_.clear();
    if (rest.substr(0, 4) == "<!--") {
        if (!skipPast("-->")) return fail("a comment without its end");
        return Token::Text;
    }
    if (rest.substr(0, 9) == "<![CDATA[") {
        if (open_.empty()) return fail("CDATA outside the root element");
        advance(9);
        const std::size_t end = doc_.find("]]>", pos_);
        if (end == std::string_view::npos) return fail("a CDATA section without its end");
        text_.assign(doc_.substr(pos_, end - pos_));
        advance(end + 3 - pos_);
        // An empty section carries nothing; the caller skips it.
        return Token::Text;
    }
    if (rest.substr(0, 2) == "<?") {
        if (!skipPast("?>")) return fail("a processing instruction without its end");
        return Token::Text;
    }
    if (rest.substr(0, 2) == "<!") {
        // <!DOCTYPE ...> with an optional internal subset in brackets.
        int brackets = 0;
        while (pos_ < doc_.size()) {
            const char c = doc_[pos_];
            advance(1);
            if (c == '[') ++brackets;
            else if (c == ']') --brackets;
            else if (c == '>' && brackets <= 0) return Token::Text;
        }
        return fail("a declaration without its end");
    }
    if (rest.substr(0, 2) == "</") {
        advance(2);
        if (!readName(name_)) return fail("an end tag without a name");
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) advance(1);
        if (pos_ >= doc_.size() || doc_[pos_] != '>') return fail("a malformed end tag </" + name_ + ">");
        advance(1);
        if (open_.empty() || open_.back() != name_)
            return fail("</" + name_ + "> does not close " +
                        (open_.empty() ? std::string("anything") : "<" + open_.back() + ">"));
        open_.pop_back();
        return Token::End;
    }
    advance(1);
    if (!readName(name_)) return fail("a tag without a name");
    if (open_.empty() && seenRoot_) return fail("a second root element <" + name_ + ">");
    // Attributes: name = "value" or 'value'.
    while (true) {
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) advance(1);
        if (pos_ >= doc_.size()) return fail("the document ends inside the tag <" + name_ + ">");
        const char c = doc_[pos_];
        if (c == '>' || (c == '/' && doc_.substr(pos_, 2) == "/>")) {
            const bool empty = c == '/';
            advance(empty ? 2 : 1);
            seenRoot_ = true;
            open_.push_back(name_);
            pendingEnd_ = empty;
            return Token::Start;
        }
        std::string attribute;
        if (!readName(attribute)) return fail("a malformed attribute in <" + name_ + ">");
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) advance(1);
        if (pos_ >= doc_.size() || doc_[pos_] != '=') return fail("attribute " + attribute + " without a value");
        advance(1);
        while (pos_ < doc_.size() && isSpace(doc_[pos_])) advance(1);
        if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\'')) {
            return fail("attribute " + attribute + " without quotes");
        }
        const char quote = doc_[pos_];
        advance(1);
        const std::size_t end = doc_.find(quote, pos_);
        if (end == std::string_view::npos) return fail("attribute " + attribute + " without its closing quote");
        advance(end + 1 - pos_);
    }
}

}  // namespace cli
