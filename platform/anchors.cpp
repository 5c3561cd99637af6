#include "anchors.h"

#include <QEvent>
#include <QWidget>

namespace {

struct Span {
    int start, length;
};

Span AnchoredSpan(Span design, bool nearEdge, bool farEdge, int designExtent, int extent) {
    if (nearEdge && farEdge) return {design.start, design.length + extent - designExtent};
    if (farEdge) return {design.start + extent - designExtent, design.length};
    if (nearEdge || designExtent <= 0) return design;
    const double centre = (design.start + design.length / 2.0) * extent / designExtent;
    return {int(centre - design.length / 2.0 + 0.5), design.length};
}

}  // namespace

QRect AnchoredRect(QRect design, TAnchors anchors, QSize designSize, QSize size) {
    const Span x = AnchoredSpan({design.x(), design.width()}, anchors & TAnchor::Left,
                                anchors & TAnchor::Right, designSize.width(), size.width());
    const Span y = AnchoredSpan({design.y(), design.height()}, anchors & TAnchor::Top,
                                anchors & TAnchor::Bottom, designSize.height(), size.height());
    return {x.start, y.start, x.length, y.length};
}

TAnchorLayout::TAnchorLayout(QWidget* parent, QSize designSize)
    : QObject(parent), FParent(parent), FDesignSize(designSize) {
    parent->installEventFilter(this);
}

void TAnchorLayout::Place(QWidget* child, QRect design, TAnchors anchors) {
    FItems.push_back({child, design, anchors});
    child->setGeometry(AnchoredRect(design, anchors, FDesignSize, FParent->size()));
}

bool TAnchorLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FParent && event->type() == QEvent::Resize) Apply();
    return false;
}

void TAnchorLayout::Apply() {
    for (const Item& item : FItems)
        item.widget->setGeometry(
            AnchoredRect(item.design, item.anchors, FDesignSize, FParent->size()));
}
