#include "richedit.h"

#include <QTextBlock>

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
}

void TRichEdit::Clear() {
    clear();
    setCurrentCharFormat(QTextCharFormat());  // a colour set for the old text does not carry over
    document()->setModified(false);
}

void TRichEdit::AddLine(const QString& text) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    if (end.block().length() == 1) {  // the log is empty or ends with a line break
        end.insertText(text);
        end.insertBlock();
    } else {
        end.insertBlock();
        end.insertText(text);
    }
    setTextCursor(end);
}

void TRichEdit::SetSelText(const QString& fragment) {
    // textCursor() carries any colour set for the text inserted next.
    QTextCursor caret = textCursor();
    QString text = fragment;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r")).replace(u'\n', u'\r');
    const QStringList lines = text.split(u'\r');
    caret.beginEditBlock();
    caret.removeSelectedText();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) caret.insertBlock();
        caret.insertText(lines[i]);
    }
    caret.endEditBlock();
    setTextCursor(caret);
}

void TRichEdit::SetSelColor(TColor color) {
    setTextColor(QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
}
