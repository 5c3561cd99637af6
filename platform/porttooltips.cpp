#include "porttooltips.h"

#include <QHelpEvent>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>

#include "devicemap.h"

TPortToolTips::TPortToolTips(QTextEdit* log, const TDeviceMap& map)
    : QObject(log), FLog(log), FMap(map) {
    log->viewport()->installEventFilter(this);
}

QString TPortToolTips::ToolTipFor(const QString& line) const {
    const QRegularExpression port(QStringLiteral("COM(\\d+)"));
    const QRegularExpressionMatch m = port.match(line);
    if (!m.hasMatch()) return {};
    bool isNumber = false;
    const int number = m.captured(1).toInt(&isNumber);
    return isNumber ? FMap.DeviceOf(number) : QString();
}

bool TPortToolTips::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = ToolTipFor(FLog->cursorForPosition(help->pos()).block().text());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, FLog->viewport());
    return true;
}
