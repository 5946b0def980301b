// KDE vocabulary files (kvtml 2): every entry's first translation gives a
// phrase (its text) and a hint (its comment). Parsed by expat, fed in pieces,
// with no document type declarations of the file's own, no entities beyond
// XML's five and the numeric ones, and a bound on nesting.
#include <expat.h>

#include <algorithm>
#include <cctype>

#include "cli/Importers.h"
#include "cli/Latin1.h"

namespace cli {

namespace {

// kvtml nests five deep; nothing in a word list needs more than this.
constexpr std::size_t kMaxDepth = 256;

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// The encoding named in the XML declaration, lower case; "utf-8" when none.
std::string declaredEncoding(std::string_view text) {
    if (text.substr(0, 5) != "<?xml") return "utf-8";
    const std::string_view decl = text.substr(0, text.find("?>"));
    const std::size_t at = decl.find("encoding");
    if (at == std::string_view::npos) return "utf-8";
    const std::size_t open = decl.find_first_of("\"'", at);
    if (open == std::string_view::npos) return "utf-8";
    const std::size_t close = decl.find(decl[open], open + 1);
    if (close == std::string_view::npos) return "utf-8";
    return lowered(std::string(decl.substr(open + 1, close - open - 1)));
}

// XML drops no blanks, but a word list's layout should not end up in a puzzle.
std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

}  // namespace

struct KvtmlReader::State {
    XML_Parser parser = nullptr;
    EntrySink sink;
    bool started = false;
    std::string head;   // the file's first bytes, until they show its encoding
    std::string refusal;   // why the handlers stopped the parser
    std::vector<std::string> path;   // the open elements
    bool isKvtml = false, sawEntries = false, inFirstTranslation = false;
    int translationsSeen = 0;
    std::string* collecting = nullptr;   // the field whose element is open
    RawEntry current;
    bool hasText = false;

    void stop(std::string why) {
        if (refusal.empty()) refusal = std::move(why);
        XML_StopParser(parser, XML_FALSE);
    }

    void start(const char* name) {
        if (!refusal.empty()) return;
        if (path.size() >= kMaxDepth) return stop("elements nested deeper than " + std::to_string(kMaxDepth));
        if (path.empty()) {
            isKvtml = std::string_view(name) == "kvtml";
            if (!isKvtml) return stop("not a kvtml file (its root element is not <kvtml>)");
        }
        path.emplace_back(name);
        const std::size_t depth = path.size();
        if (depth == 2 && path[1] == "entries") sawEntries = true;
        if (depth == 3 && path[1] == "entries" && path[2] == "entry") {
            translationsSeen = 0;
            current = RawEntry{};
            current.line = XML_GetCurrentLineNumber(parser);
            hasText = false;
        } else if (depth == 4 && path[1] == "entries" && path[2] == "entry" && path[3] == "translation") {
            inFirstTranslation = translationsSeen++ == 0;
        } else if (depth == 5 && inFirstTranslation) {
            if (path[4] == "text") {
                collecting = &current.phrase;
                hasText = true;
            } else if (path[4] == "comment") {
                collecting = &current.hint;
            }
        }
    }

    void end() {
        if (!refusal.empty() || path.empty()) return;
        const std::size_t depth = path.size();
        const bool entry = depth == 3 && path[1] == "entries" && path[2] == "entry";
        path.pop_back();
        if (depth == 5) collecting = nullptr;
        if (depth == 4) inFirstTranslation = false;
        if (entry) {
            current.phrase = trimmed(current.phrase);
            current.hint = trimmed(current.hint);
            if (!hasText) current.phrase.clear();
            sink(std::move(current));
        }
    }
};

namespace {

KvtmlReader::State& stateOf(void* data) { return *static_cast<KvtmlReader::State*>(data); }

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char**) { stateOf(data).start(name); }
void XMLCALL onEnd(void* data, const XML_Char*) { stateOf(data).end(); }
void XMLCALL onText(void* data, const XML_Char* s, int len) {
    auto& st = stateOf(data);
    // Only text directly inside <text> or <comment> counts.
    if (st.collecting != nullptr && st.path.size() == 5) st.collecting->append(s, static_cast<std::size_t>(len));
}
// A document type may name its DTD, which is never fetched, but may declare nothing itself.
void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int internalSubset) {
    if (internalSubset) stateOf(data).stop("a document type with declarations of its own");
}
void XMLCALL onEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
    stateOf(data).stop("an entity declaration");
}
void XMLCALL onSkippedEntity(void* data, const XML_Char* name, int) {
    stateOf(data).stop(std::string("an unknown entity &") + name + ";");
}

}  // namespace

KvtmlReader::KvtmlReader(EntrySink sink) : state_(std::make_unique<State>()) { state_->sink = std::move(sink); }

KvtmlReader::~KvtmlReader() {
    if (state_->parser != nullptr) XML_ParserFree(state_->parser);
}

bool KvtmlReader::begin(std::string_view& chunk, std::string& error) {
    chunk = withoutBom(chunk);
    const std::size_t start = chunk.find_first_not_of(" \t\r\n");
    chunk.remove_prefix(start == std::string_view::npos ? chunk.size() : start);
    const std::string encoding = declaredEncoding(chunk);
    const char* name = "UTF-8";
    if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "latin-1") {
        name = "ISO-8859-1";
    } else if (encoding != "utf-8" && encoding != "us-ascii") {
        error = "the encoding " + encoding + " is not supported (UTF-8 and ISO-8859-1 are)";
        return false;
    }
    State& st = *state_;
    // The encoding given here overrides the declaration (so "latin1" and
    // "us-ascii" read as the text they are).
    st.parser = XML_ParserCreate(name);
    if (st.parser == nullptr) {
        error = "out of memory";
        return false;
    }
    XML_SetUserData(st.parser, &st);
    XML_SetElementHandler(st.parser, onStart, onEnd);
    XML_SetCharacterDataHandler(st.parser, onText);
    XML_SetStartDoctypeDeclHandler(st.parser, onDoctype);
    XML_SetEntityDeclHandler(st.parser, onEntityDecl);
    XML_SetSkippedEntityHandler(st.parser, onSkippedEntity);
    // Never read anything the document points to.
    XML_SetParamEntityParsing(st.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    st.started = true;
    return true;
}

// Whether the first bytes tell the encoding: they hold the XML declaration's
// end, or show there is none.
namespace {

bool headIsEnough(std::string_view head) {
    if (head.size() >= 4096) return true;
    constexpr std::string_view kBom = "\xef\xbb\xbf";
    if (head.size() < kBom.size() && kBom.substr(0, head.size()) == head) return false;
    head = withoutBom(head);
    const std::size_t start = head.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return false;
    head.remove_prefix(start);
    if (head.size() < 5) return head.substr(0, head.size()) != std::string_view("<?xml").substr(0, head.size());
    return head.substr(0, 5) != "<?xml" || head.find("?>") != std::string_view::npos;
}

}  // namespace

bool KvtmlReader::feed(std::string_view chunk, bool last, std::string& error) {
    State& st = *state_;
    if (!st.started) {
        st.head.append(chunk);
        if (!last && !headIsEnough(st.head)) return true;
        chunk = st.head;
        if (!begin(chunk, error)) return false;
    }
    // expat takes an int's worth at a time.
    do {
        const std::size_t n = std::min<std::size_t>(chunk.size(), 1 << 30);
        const bool final = last && n == chunk.size();
        if (XML_Parse(st.parser, chunk.data(), static_cast<int>(n), final ? XML_TRUE : XML_FALSE) != XML_STATUS_OK) {
            error = !st.refusal.empty() ? st.refusal
                                        : "not well-formed XML: line " +
                                              std::to_string(XML_GetCurrentLineNumber(st.parser)) + ": " +
                                              XML_ErrorString(XML_GetErrorCode(st.parser));
            return false;
        }
        chunk.remove_prefix(n);
    } while (!chunk.empty());
    if (!st.head.empty()) st.head = std::string();
    if (last && !st.sawEntries) {
        error = "a kvtml file without <entries> (only kvtml version 2 is read)";
        return false;
    }
    return true;
}

bool readKvtml(std::string_view text, std::vector<RawEntry>& entries, std::string& error) {
    std::vector<RawEntry> found;
    KvtmlReader reader([&](RawEntry&& e) { found.push_back(std::move(e)); });
    if (!reader.feed(text, true, error)) return false;
    entries = std::move(found);
    return true;
}

}  // namespace cli
