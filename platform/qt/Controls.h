// The child controls of the Qt desktop: bitmap buttons with two faces,
// pictures, text statics and the edit field that does not scroll.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <string>

#include "platform/Desktop.h"

namespace platform::qt {

// A button drawn from two bitmaps: the pressed face while it is held down,
// the normal face otherwise, each stretched over the whole button.
class FaceButton : public QAbstractButton {
    Q_OBJECT
public:
    FaceButton(int normalFace, int pressedFace, QWidget* parent);
    int normalFace() const { return normal_; }
    int pressedFace() const { return pressed_; }

protected:
    void paintEvent(QPaintEvent*) override;
    // With the focus (keyboard play): Space and Return press it, every
    // other key goes to the window.
    void keyPressEvent(QKeyEvent* e) override;

private:
    int normal_;
    int pressed_;
};

// A picture: shows one bitmap once it is assigned, at the bitmap's size.
// Clicks go through to the window underneath.
class Picture : public QLabel {
    Q_OBJECT
public:
    explicit Picture(QWidget* parent);
    // Shows the bitmap at this size in logical pixels (its own where empty).
    void assign(int bitmapNumber, QSize size = {});
    int bitmapNumber() const { return bitmap_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int bitmap_ = 0;   // none yet
    QSize size_;
};

// A static text: black on light grey (or on nothing, for a text laid over
// another), one line at the left or centred and wrapped.
class TextStatic : public QLabel {
    Q_OBJECT
public:
    TextStatic(platform::ControlKind kind, bool transparent, QWidget* parent);
    // Single-byte text, shown as the kind says.
    void setRawText(const std::string& text);
    const std::string& rawText() const { return raw_; }

    // What a mnemonic-marked text shows: a single '&' vanishes, "&&" is '&'.
    static QString withoutMnemonics(const QString& text);

private:
    platform::ControlKind kind_;
    std::string raw_;
};

// A single-line edit without frame that never scrolls: an edit whose text
// would run past the visible width, or past the text limit, is refused, as
// is any character outside ISO-8859-1. Texts set by the program are kept
// whole.
class FittedEdit : public QLineEdit {
    Q_OBJECT
public:
    FittedEdit(int textLimit, QWidget* parent);
    int textLimit() const { return limit_; }
    // Whether the text fits the visible width without scrolling.
    bool fits(const QString& text) const;

    void setRawText(const std::string& text);
    std::string rawText() const;

protected:
    void paintEvent(QPaintEvent* e) override;   // with the focus ring in keyboard play

private:
    class Guard;
    int limit_;
    QString accepted_;   // the text after the last accepted change
};

// The fonts of the three font choices of the controls.
QFont controlFont(platform::ControlFont font);

// The phrase font's height in logical pixels: its cell, ascent plus descent,
// as the classic font height means it; its em is smaller.
inline constexpr int kPhraseCellHeight = 22;

// The font at the largest pixel size whose cell (ascent plus descent) is at
// most cellHeight.
QFont withCellHeight(QFont font, int cellHeight);

}  // namespace platform::qt
