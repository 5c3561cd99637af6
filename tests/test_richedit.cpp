// The status log's writing rules, on a real text control.

#include <QTextBlock>
#include <QtTest>

#include "richedit.h"
#include "transcript.h"

namespace {

QString LogOf(const TRichEdit& log) {
    return Transcript(*log.document());
}

}  // namespace

class TestRichEdit : public QObject {
    Q_OBJECT
private slots:
    void addLine_data();
    void addLine();
    void addLineWritesAtTheEndWhateverTheCaret();
    void fragmentGoesToTheCaretAndReplacesTheSelection();
    void colourAppliesToTheNextText();
    void colourIsLostWhenTheCaretMoves();
    void clearEmptiesTheLogAndItsColour();
};

void TestRichEdit::addLine_data() {
    QTest::addColumn<QString>("before");  // written as a fragment first
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty log") << ""
                               << "a"
                               << "a\n";
    QTest::newRow("after a break") << "x\r"
                                   << "a"
                                   << "x\na\n";
    QTest::newRow("after a fragment") << "x"
                                      << "a"
                                      << "x\na";
    QTest::newRow("empty line after a break") << "x\r"
                                              << ""
                                              << "x\n\n";
    QTest::newRow("empty line ends a fragment") << "x"
                                                << ""
                                                << "x\n";
    QTest::newRow("empty line on an empty log") << ""
                                                << ""
                                                << "\n";
}

void TestRichEdit::addLine() {
    QFETCH(QString, before);
    QFETCH(QString, line);
    QFETCH(QString, after);
    TRichEdit log;
    log.SetSelText(before);
    log.AddLine(line);
    QCOMPARE(LogOf(log), after);
    QVERIFY(log.textCursor().atEnd());
}

void TestRichEdit::addLineWritesAtTheEndWhateverTheCaret() {
    TRichEdit log;
    log.AddLine("one");
    log.AddLine("two");
    QTextCursor start = log.textCursor();
    start.setPosition(0);
    log.setTextCursor(start);
    log.AddLine("three");
    QCOMPARE(LogOf(log), "one\ntwo\nthree\n");
}

void TestRichEdit::fragmentGoesToTheCaretAndReplacesTheSelection() {
    TRichEdit log;
    log.SetSelText("  Looking on COM3");
    log.SetSelText("...nothing\r");
    QCOMPARE(LogOf(log), "  Looking on COM3...nothing\n");

    QTextCursor word = log.textCursor();
    word.setPosition(2);
    word.setPosition(9, QTextCursor::KeepAnchor);  // "Looking"
    log.setTextCursor(word);
    log.SetSelText("Searching");
    log.SetSelText("!\r\nx\ny");
    QCOMPARE(LogOf(log), "  Searching!\nx\ny on COM3...nothing\n");
}

void TestRichEdit::colourAppliesToTheNextText() {
    TRichEdit log;
    log.SetSelText("a");
    log.SetSelColor(255);
    log.SetSelText("found\r");
    log.SetSelColor(0);
    log.SetSelText(" ");
    log.AddLine("");
    log.AddLine("b");
    QCOMPARE(LogOf(log), "a<red>found</red>\n \nb\n");

    QTextCursor second(log.document()->findBlockByNumber(1));
    second.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    QCOMPARE(second.charFormat().foreground().color(), QColor(Qt::black));
}

void TestRichEdit::colourIsLostWhenTheCaretMoves() {
    TRichEdit log;
    log.SetSelText("ab");
    log.SetSelColor(255);
    QTextCursor caret = log.textCursor();
    caret.setPosition(1);
    log.setTextCursor(caret);
    log.SetSelText("x");
    QCOMPARE(LogOf(log), "axb");
}

void TestRichEdit::clearEmptiesTheLogAndItsColour() {
    TRichEdit log;
    log.SetSelText("typed by the user");
    log.document()->setModified(true);
    log.SetSelColor(255);
    log.Clear();
    QCOMPARE(log.toPlainText(), QString());
    QVERIFY(!log.document()->isModified());
    log.SetSelText("x");
    QCOMPARE(LogOf(log), "x");
}

QTEST_MAIN(TestRichEdit)
#include "test_richedit.moc"
