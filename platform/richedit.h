#pragma once
// The status log: an editable rich-text control with the four writing operations a search uses.

#include <QTextEdit>

// An RGB colour with red in the low byte: 255 is pure red, 0 is black.
using TColor = int;

class TRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TRichEdit(QWidget* parent = nullptr);

    // Empties the log and its modified flag; new text takes the default colour.
    void Clear();
    // Writes at the end of the log, never at the caret: the text and a line break when the log is
    // empty or ends with a break; otherwise a break and then the text. The caret ends up at the
    // end.
    void AddLine(const QString& text);
    // Replaces the selection, or inserts at the caret, and leaves the caret after the fragment.
    // A carriage return ends the line.
    void SetSelText(const QString& fragment);
    // Colours the selection, or with none, the text inserted next at the caret.
    void SetSelColor(TColor color);
};
