#include "platform/qt/Controls.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <cmath>
#include <optional>
#include <utility>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

#include <QKeyEvent>

#include "platform/qt/EditInput.h"
#include "platform/qt/KeyboardPlay.h"
#include "platform/qt/Pixmaps.h"

namespace platform::qt {

namespace {

// Windows' LTGRAY_BRUSH.
const QColor kLightGrey(0xC0, 0xC0, 0xC0);

void paintBlackOnGrey(QWidget* w, bool fillBackground) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, kLightGrey);
    p.setColor(QPalette::Base, kLightGrey);
    p.setColor(QPalette::WindowText, Qt::black);
    p.setColor(QPalette::Text, Qt::black);
    w->setPalette(p);
    w->setAutoFillBackground(fillBackground);
}

}  // namespace

QFont withCellHeight(QFont font, int cellHeight) {
    // The em that gives this cell, rounded, then down while the cell is
    // still taller: the classic font height names the cell, not the em.
    font.setPixelSize(cellHeight);
    const int full = QFontMetrics(font).height();
    int em = full > 0 ? qMax(1, (cellHeight * cellHeight + full / 2) / full) : cellHeight;
    font.setPixelSize(em);
    while (em > 1 && QFontMetrics(font).height() > cellHeight) font.setPixelSize(--em);
    // Characters of a fixed-pitch font stand a whole pixel apart, as the
    // classic desktop draws them, whatever the scaling: otherwise 11.4
    // pixels a character would cut the end off the longest phrases.
    if (QFontInfo(font).fixedPitch()) {
        const qreal advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
        const qreal whole = qMax<qreal>(1.0, std::floor(advance + 0.5));
        if (whole != advance) font.setLetterSpacing(QFont::AbsoluteSpacing, whole - advance);
    }
    return font;
}

QFont controlFont(platform::ControlFont font) {
    switch (font) {
        case platform::ControlFont::Phrase: {
            QFont f(QStringLiteral("Courier New"));
            f.setBold(true);
            f.setFixedPitch(true);
            f.setStyleHint(QFont::TypeWriter);
            // Fitted once (the fitting loads the font at several sizes);
            // only the numbers are kept, no font outlives the application.
            static std::optional<std::pair<int, qreal>> fit;
            if (!fit) {
                const QFont fitted = withCellHeight(f, kPhraseCellHeight);
                fit.emplace(fitted.pixelSize(), fitted.letterSpacing());
            }
            f.setPixelSize(fit->first);
            if (fit->second != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, fit->second);
            return f;
        }
        case platform::ControlFont::Interface: {
            QFont f(QStringLiteral("Liberation Sans"));
            f.setStyleHint(QFont::SansSerif);
            f.setPixelSize(11);
            return f;
        }
        case platform::ControlFont::Default:
            break;
    }
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(13);
    return f;
}

FaceButton::FaceButton(int normalFace, int pressedFace, QWidget* parent)
    : QAbstractButton(parent), normal_(normalFace), pressed_(pressedFace) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_NoSystemBackground);
}

void FaceButton::paintEvent(QPaintEvent*) {
    // The whole face over the whole button; an unreadable face is left undrawn.
    QPainter painter(this);
    paintBitmap(painter, rect(), isDown() ? pressed_ : normal_);
    // Only keyboard play gives a button the focus.
    if (hasFocus()) keyboardplay::drawFocusRing(painter, rect());
}

void FaceButton::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Space:
            QAbstractButton::keyPressEvent(e);   // held down, pressed when let go
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!e->isAutoRepeat()) click();
            return;
        default:
            e->ignore();   // letters, arrows and Escape are the window's
            return;
    }
}

Picture::Picture(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setContentsMargins(0, 0, 0, 0);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Picture::assign(int bitmapNumber, QSize size) {
    bitmap_ = bitmapNumber;
    size_ = size.isEmpty() ? bitmapSize(bitmapNumber) : size;
    // Fixed, so nothing lays it back to its nominal size.
    setFixedSize(size_);
    update();
}

void Picture::paintEvent(QPaintEvent*) {
    if (bitmap_ == 0) return;
    // Painted here rather than by the label, so the density of the screen
    // it is on picks the picture each time.
    QPainter painter(this);
    paintBitmap(painter, QRect(QPoint(0, 0), size_), bitmap_);
}

TextStatic::TextStatic(platform::ControlKind kind, bool transparent, QWidget* parent)
    : QLabel(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setContentsMargins(0, 0, 0, 0);
    setMargin(0);
    setIndent(0);
    paintBlackOnGrey(this, !transparent);
    if (kind == platform::ControlKind::TextCentered) {
        setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        setWordWrap(true);
    } else {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setWordWrap(false);
    }
}

QString TextStatic::withoutMnemonics(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

namespace {

// A static shows no more than this many characters of its text, so a text of
// any size (from a hostile puzzle file, say) is laid out at once.
constexpr std::size_t kLongestShownText = 4096;

QString shownPart(const std::string& text) {
    const std::size_t n = std::min(text.size(), kLongestShownText);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(n));
}

}  // namespace

void TextStatic::setRawText(const std::string& text) {
    raw_ = text;
    const QString shown = shownPart(text);
    setText(kind_ == platform::ControlKind::TextPrefix ? withoutMnemonics(shown) : shown);
}

// Refuses user edits that would not fit; see FittedEdit.
class FittedEdit::Guard : public QValidator {
public:
    explicit Guard(FittedEdit* edit) : QValidator(edit), edit_(edit) {}
    State validate(QString& input, int& cursor) const override {
        const QString& before = edit_->accepted_;
        const QFontMetrics fm(edit_->font());
        const int widthBefore = fm.horizontalAdvance(before);
        // A text that fits, or one no wider than before (a program may set more).
        const auto fits = [&](const QString& t) { return edit_->fits(t) || fm.horizontalAdvance(t) <= widthBefore; };
        switch (shapeEditInput(before, input, cursor, edit_->limit_, fits)) {
            case EditVerdict::Accept:
                return Acceptable;
            case EditVerdict::RefuseWithBeep:
                QApplication::beep();
                return Invalid;
            case EditVerdict::Refuse:
                break;
        }
        return Invalid;
    }

private:
    FittedEdit* edit_;
};

FittedEdit::FittedEdit(int textLimit, QWidget* parent)
    : QLineEdit(parent), limit_(textLimit > 0 ? textLimit : 32767) {
    setFrame(false);
    setMaxLength(32767);
    // A click gives an edit the focus; Tab does not move it between fields.
    setFocusPolicy(Qt::ClickFocus);
    paintBlackOnGrey(this, true);
    setValidator(new Guard(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { accepted_ = t; });
}

bool FittedEdit::fits(const QString& text) const {
    // The text area as QLineEdit lays it out: the contents rectangle less
    // the text margins and its own two-pixel margin on either side.
    QStyleOptionFrame option;
    initStyleOption(&option);
    QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    r = r.marginsRemoved(textMargins());
    const int visible = r.width() - 2 * 2;
    const QFontMetrics fm(font());
    const int leftBearing = qMax(0, -fm.minLeftBearing());
    const int rightBearing = qMax(0, -fm.minRightBearing());
    // One pixel more for the cursor standing after the last character.
    return leftBearing + fm.horizontalAdvance(text) + 1 + rightBearing <= visible;
}

void FittedEdit::setRawText(const std::string& text) {
    const QString t = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    accepted_ = t;
    setText(t);
    // As after a program-set text on the classic edit: the caret at the start,
    // so the beginning of a long text shows.
    setCursorPosition(0);
}

void FittedEdit::paintEvent(QPaintEvent* e) {
    QLineEdit::paintEvent(e);
    if (!hasFocus() || !keyboardplay::on()) return;
    QPainter painter(this);
    keyboardplay::drawFocusRing(painter, rect());
}

std::string FittedEdit::rawText() const {
    const QByteArray bytes = text().toLatin1();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace platform::qt
