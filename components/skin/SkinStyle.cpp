#include "SkinStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

namespace qinglan::skin {
namespace {

QColor withAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

QRectF indicatorBox(const QRect& rect) {
    const qreal side = qMin(rect.width(), rect.height()) - 1;
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(rect).center());
    return box.adjusted(0.5, 0.5, -0.5, -0.5);
}

void drawCheckBox(const QStyleOption* option, QPainter* painter) {
    const QPalette& palette = option->palette;
    const bool enabled = option->state & QStyle::State_Enabled;
    const bool on = option->state & QStyle::State_On;
    const bool partly = option->state & QStyle::State_NoChange;
    const bool hover = enabled && (option->state & QStyle::State_MouseOver);
    const QRectF box = indicatorBox(option->rect);
    const QColor accent =
        palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Highlight);

    painter->setRenderHint(QPainter::Antialiasing);
    if (on || partly) {
        painter->setPen(QPen(accent, 1));
        painter->setBrush(accent);
    } else {
        const QColor border = hover ? palette.color(QPalette::Highlight)
                                    : withAlpha(palette.color(QPalette::Text), enabled ? 120 : 50);
        painter->setPen(QPen(border, 1));
        painter->setBrush(palette.color(QPalette::Base));
    }
    painter->drawRoundedRect(box, 2.5, 2.5);

    const QColor mark =
        palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::HighlightedText);
    const qreal w = box.width();
    painter->setPen(
        QPen(mark, qMax<qreal>(1.6, w / 7.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    if (partly) {
        painter->drawLine(QPointF(box.left() + w * 0.25, box.center().y()),
                          QPointF(box.right() - w * 0.25, box.center().y()));
    } else if (on) {
        QPainterPath tick;
        tick.moveTo(box.left() + w * 0.22, box.top() + w * 0.52);
        tick.lineTo(box.left() + w * 0.42, box.top() + w * 0.72);
        tick.lineTo(box.left() + w * 0.78, box.top() + w * 0.30);
        painter->drawPath(tick);
    }
}

// The tick of a checked menu item, without a box: the item's own text colour.
void drawMenuTick(const QStyleOption* option, QPainter* painter) {
    if (!(option->state & QStyle::State_On)) return;
    const QRectF box = indicatorBox(option->rect).adjusted(1, 1, -1, -1);
    const qreal w = box.width();
    const bool selected = option->state & QStyle::State_Selected;
    const QColor color =
        option->palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(
        QPen(color, qMax<qreal>(1.8, w / 6.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(box.left() + w * 0.15, box.top() + w * 0.52);
    tick.lineTo(box.left() + w * 0.40, box.top() + w * 0.77);
    tick.lineTo(box.left() + w * 0.85, box.top() + w * 0.25);
    painter->drawPath(tick);
}

void drawRadio(const QStyleOption* option, QPainter* painter) {
    const QPalette& palette = option->palette;
    const bool enabled = option->state & QStyle::State_Enabled;
    const bool on = option->state & QStyle::State_On;
    const bool hover = enabled && (option->state & QStyle::State_MouseOver);
    const QRectF box = indicatorBox(option->rect);
    const QColor accent =
        palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Highlight);

    painter->setRenderHint(QPainter::Antialiasing);
    const QColor border =
        on || hover ? accent : withAlpha(palette.color(QPalette::Text), enabled ? 120 : 50);
    painter->setPen(QPen(border, on ? 1.5 : 1));
    painter->setBrush(palette.color(QPalette::Base));
    painter->drawEllipse(box);
    if (on) {
        const qreal inset = box.width() * 0.27;
        painter->setPen(Qt::NoPen);
        painter->setBrush(accent);
        painter->drawEllipse(box.adjusted(inset, inset, -inset, -inset));
    }
}

void drawArrow(QStyle::PrimitiveElement element, const QStyleOption* option, QPainter* painter) {
    const QRectF rect = option->rect;
    if (rect.width() < 3 || rect.height() < 3) return;
    const bool enabled = option->state & QStyle::State_Enabled;
    const QColor color = option->palette.color(enabled ? QPalette::Active : QPalette::Disabled,
                                               QPalette::ButtonText);
    const qreal size = qMin<qreal>(qMin(rect.width(), rect.height()) * 0.5, 9);
    const QPointF c = rect.center();
    const qreal h = size / 2, q = size / 4;
    QPolygonF chevron;
    switch (element) {
    case QStyle::PE_IndicatorArrowUp:
        chevron << QPointF(c.x() - h, c.y() + q) << QPointF(c.x(), c.y() - q)
                << QPointF(c.x() + h, c.y() + q);
        break;
    case QStyle::PE_IndicatorArrowLeft:
        chevron << QPointF(c.x() + q, c.y() - h) << QPointF(c.x() - q, c.y())
                << QPointF(c.x() + q, c.y() + h);
        break;
    case QStyle::PE_IndicatorArrowRight:
        chevron << QPointF(c.x() - q, c.y() - h) << QPointF(c.x() + q, c.y())
                << QPointF(c.x() - q, c.y() + h);
        break;
    default:
        chevron << QPointF(c.x() - h, c.y() - q) << QPointF(c.x(), c.y() + q)
                << QPointF(c.x() + h, c.y() - q);
        break;
    }
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPolyline(chevron);
}

} // namespace

SkinStyle::SkinStyle(QStyle* base) : QProxyStyle(base) {}

void SkinStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_IndicatorCheckBox:
    case PE_IndicatorItemViewItemCheck:
        painter->save();
        drawCheckBox(option, painter);
        painter->restore();
        return;
    case PE_IndicatorMenuCheckMark:
        painter->save();
        drawMenuTick(option, painter);
        painter->restore();
        return;
    case PE_IndicatorRadioButton:
        painter->save();
        drawRadio(option, painter);
        painter->restore();
        return;
    case PE_IndicatorArrowDown:
    case PE_IndicatorArrowUp:
    case PE_IndicatorArrowLeft:
    case PE_IndicatorArrowRight:
        painter->save();
        drawArrow(element, option, painter);
        painter->restore();
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

} // namespace qinglan::skin
