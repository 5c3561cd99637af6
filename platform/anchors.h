#pragma once
// Anchored placement: a child keeps its distance to the parent's edges it is anchored to; on an
// axis with neither edge anchored it keeps its centre in proportion.

#include <QFlags>
#include <QObject>
#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

enum class TAnchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchor)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

// The rectangle for a child placed at `design` in a parent of client size `designSize`, once the
// parent's client size is `size`.
QRect AnchoredRect(QRect design, TAnchors anchors, QSize designSize, QSize size);

// Places the anchored children of one parent whenever the parent is resized.
class TAnchorLayout : public QObject {
public:
    TAnchorLayout(QWidget* parent, QSize designSize);
    void Place(QWidget* child, QRect design, TAnchors anchors);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item {
        QWidget* widget;
        QRect design;
        TAnchors anchors;
    };
    QWidget* FParent;
    QSize FDesignSize;
    std::vector<Item> FItems;
    void Apply();
};
