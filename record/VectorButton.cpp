#include "record/VectorButton.h"

#include <QDebug>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {
// How much of the picture shows while the button is disabled.
constexpr qreal disabledOpacity = 0.4;
} // namespace

VectorButton::VectorButton(QWidget *parent)
    : QToolButton(parent)
{
}

void VectorButton::setPicture(const QString &resource)
{
    if (resource == m_picture)
        return;
    m_picture = resource;
    if (!m_renderer.load(resource))
        qWarning() << "=== button picture not loaded ===" << resource;
    update();
}

void VectorButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The style draws the frame, hover and focus; the picture comes from the vectors below.
    option.icon = QIcon();
    p.drawComplexControl(QStyle::CC_ToolButton, option);
    if (!m_renderer.isValid())
        return;
    const QSize room = size() - iconSize();
    const QRect target(QPoint(room.width() / 2, room.height() / 2), iconSize());
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(isEnabled() ? 1.0 : disabledOpacity);
    m_renderer.render(&p, target);
}
