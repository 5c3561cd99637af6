#pragma once
// Tells the user which device a COM port is: resting the pointer on a log line that names
// "COM<n>" shows that port's device path.

#include <QObject>

class QTextEdit;
class TDeviceMap;

class TPortToolTips : public QObject {
public:
    TPortToolTips(QTextEdit* log, const TDeviceMap& map);
    // The device path for the port named on `line`, or an empty string.
    QString ToolTipFor(const QString& line) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextEdit* FLog;
    const TDeviceMap& FMap;
};
