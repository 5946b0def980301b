#include "platform/qt/EditInput.h"

#include <algorithm>

namespace platform::qt {

namespace {

bool isLineEnd(QChar c) {
    return c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029) || c == QChar(0x85);
}

// The longest head of inserted with which head + inserted + tail still fits
// (the width grows with every character, so a halving search finds it).
qsizetype longestFitting(const QString& head, const QString& inserted, const QString& tail,
                         const std::function<bool(const QString&)>& fits) {
    if (!fits || fits(head + inserted + tail)) return inserted.size();
    qsizetype low = 0;   // fits, or nothing is inserted at all
    qsizetype high = inserted.size();   // does not fit
    while (high - low > 1) {
        const qsizetype mid = low + (high - low) / 2;
        if (fits(head + inserted.left(mid) + tail)) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return low;
}

}  // namespace

EditVerdict shapeEditInput(const QString& before, QString& input, int& cursor, int limit,
                           const std::function<bool(const QString&)>& fits) {
    if (input == before) return EditVerdict::Accept;
    // Where the change sits: the caret ends the inserted text, the tail
    // behind it is the old text's end, the head the common start.
    qsizetype end = std::clamp<qsizetype>(cursor, 0, input.size());
    const QString tail = input.mid(end);
    if (!before.endsWith(tail)) end = input.size();   // no caret to trust: take the common start only
    const qsizetype tailSize = input.size() - end;
    const qsizetype headLimit = std::min<qsizetype>(end, before.size() - tailSize);
    qsizetype start = 0;
    while (start < headLimit && before[start] == input[start]) ++start;
    const QString head = input.left(start);
    const QString inserted = input.mid(start, end - start);
    const QString rest = input.mid(end);

    if (inserted.isEmpty()) return EditVerdict::Accept;   // only a deletion

    QString kept;
    kept.reserve(inserted.size());
    for (QChar c : inserted) {
        if (isLineEnd(c)) break;   // a paste keeps its first line
        if (c.unicode() > 0xFF) return EditVerdict::RefuseWithBeep;
        if (c.unicode() < 32) continue;
        kept += c;
    }
    const qsizetype room =
        std::max<qsizetype>(0, std::max<qsizetype>(limit, before.size()) - head.size() - rest.size());
    if (kept.size() > room) kept.truncate(room);
    kept.truncate(longestFitting(head, kept, rest, fits));
    if (kept.isEmpty()) return EditVerdict::Refuse;

    if (kept != inserted) {
        input = head + kept + rest;
        cursor = static_cast<int>(head.size() + kept.size());
    }
    return EditVerdict::Accept;
}

}  // namespace platform::qt
