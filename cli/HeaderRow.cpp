#include "cli/HeaderRow.h"

namespace cli {

namespace {

struct HeaderWord {
    const char* word;   // lower case, UTF-8
    ColumnRole role;
};

constexpr ColumnRole P = ColumnRole::Phrase, H = ColumnRole::Hint, O = ColumnRole::Other;

// English, German, French, Spanish, Italian, Dutch, Portuguese, Swedish.
constexpr HeaderWord kHeaderWords[] = {
    {"phrase", P}, {"phrases", P}, {"word", P}, {"words", P}, {"answer", P}, {"answers", P},
    {"solution", P}, {"term", P}, {"terms", P}, {"puzzle", P}, {"puzzles", P}, {"secret", P},
    {"hint", H}, {"hints", H}, {"clue", H}, {"clues", H}, {"question", H}, {"definition", H},
    {"description", H}, {"meaning", H}, {"tip", H},
    {"category", O}, {"comment", O}, {"comments", O}, {"topic", O}, {"level", O}, {"id", O}, {"no", O},
    {"number", O}, {"notes", O}, {"note", O}, {"language", O},
    {"wort", P}, {"wörter", P}, {"begriff", P}, {"begriffe", P}, {"lösung", P}, {"antwort", P},
    {"rätsel", P}, {"satz", P}, {"ausdruck", P}, {"lösungswort", P},
    {"hinweis", H}, {"hinweise", H}, {"tipp", H}, {"hilfe", H}, {"frage", H}, {"umschreibung", H},
    {"beschreibung", H}, {"bedeutung", H}, {"erklärung", H},
    {"kategorie", O}, {"kommentar", O}, {"thema", O}, {"nr", O}, {"nummer", O},
    {"mot", P}, {"mots", P}, {"réponse", P}, {"énigme", P}, {"expression", P}, {"terme", P},
    {"indice", H}, {"indices", H}, {"définition", H}, {"aide", H}, {"astuce", H},
    {"catégorie", O}, {"commentaire", O}, {"thème", O},
    {"frase", P}, {"frases", P}, {"palabra", P}, {"palabras", P}, {"respuesta", P}, {"solución", P},
    {"adivinanza", P}, {"término", P},
    {"pista", H}, {"pistas", H}, {"pregunta", H}, {"definición", H}, {"descripción", H}, {"ayuda", H},
    {"categoría", O}, {"comentario", O}, {"tema", O},
    {"parola", P}, {"parole", P}, {"risposta", P}, {"soluzione", P}, {"termine", P},
    {"indizio", H}, {"indizi", H}, {"suggerimento", H}, {"domanda", H}, {"definizione", H},
    {"descrizione", H}, {"aiuto", H},
    {"commento", O},
    {"zin", P}, {"woord", P}, {"woorden", P}, {"antwoord", P}, {"oplossing", P}, {"raadsel", P},
    {"begrip", P}, {"uitdrukking", P},
    {"aanwijzing", H}, {"vraag", H}, {"omschrijving", H}, {"definitie", H}, {"betekenis", H},
    {"beschrijving", H},
    {"categorie", O}, {"opmerking", O},
    {"palavra", P}, {"resposta", P}, {"solução", P}, {"dica", H}, {"ord", P}, {"svar", P},
    {"ledtråd", H}, {"fråga", H},
};

// Lower case for ASCII and the Latin-1 capitals as UTF-8 (C3 80 to C3 9E, but ×).
std::string lowered(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        auto& c = out[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (static_cast<unsigned char>(c) == 0xC3 && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

bool isMark(char c) {
    return c == ' ' || c == '\t' || c == '#' || c == '*' || c == ':' || c == '.' || c == '_' || c == '"' ||
           c == '\'' || c == '(' || c == ')' || c == '[' || c == ']';
}

}  // namespace

ColumnRole headerRole(std::string_view cell) {
    while (!cell.empty() && isMark(cell.front())) cell.remove_prefix(1);
    while (!cell.empty() && isMark(cell.back())) cell.remove_suffix(1);
    if (cell.empty()) return ColumnRole::None;
    const std::string word = lowered(cell);
    for (const auto& w : kHeaderWords) {
        if (word == w.word) return w.role;
    }
    return ColumnRole::None;
}

bool looksLikeHeader(const std::vector<std::string>& cells) {
    bool names = false;
    for (const auto& cell : cells) {
        if (cell.find_first_not_of(" \t") == std::string::npos) continue;
        const ColumnRole role = headerRole(cell);
        if (role == ColumnRole::None) return false;
        names = names || role != ColumnRole::Other;
    }
    return names;
}

}  // namespace cli
