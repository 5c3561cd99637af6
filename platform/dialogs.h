#pragma once
// The modal boxes the program shows. A seam, so that tests and tools can answer them without a
// screen; TMessageBoxes is the real thing.

#include <QString>

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A plain message: no icon, one OK button.
    virtual void Message(const QString& caption, const QString& text) = 0;
    // An error report: stop icon, one OK button.
    virtual void Error(const QString& caption, const QString& text) = 0;
};

class TMessageBoxes : public TDialogs {
public:
    void Message(const QString& caption, const QString& text) override;
    void Error(const QString& caption, const QString& text) override;
};
