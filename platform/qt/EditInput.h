// What a single-line edit makes of a change to its text, typed or pasted:
// the rules that keep every record the edits feed free of line ends and
// control characters and within the 8-bit character set.
#pragma once

#include <QString>

#include <functional>

namespace platform::qt {

enum class EditVerdict {
    Accept,           // input (perhaps trimmed) becomes the text
    Refuse,           // the change is dropped without a word
    RefuseWithBeep,   // the change holds a character the 8-bit set cannot hold
};

// before: the text before the change; input: the text QLineEdit proposes,
// with cursor just after what was inserted. The inserted part keeps only its
// first line, loses characters below 32, and is cut so that the text stays
// within limit characters (or its old length, when a program put more there)
// and fits (the visible width). On Accept, input and cursor say the result.
EditVerdict shapeEditInput(const QString& before, QString& input, int& cursor, int limit,
                           const std::function<bool(const QString&)>& fits);

}  // namespace platform::qt
