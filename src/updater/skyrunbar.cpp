#include "updater/skyrunbar.h"

#include <QPainter>

TSkyrunBar::TSkyrunBar(QWidget *parent)
    : QWidget(parent)
{
}

void TSkyrunBar::SetMax(qint64 max)
{
    m_max = max;
    update();
}

void TSkyrunBar::SetPosition(qint64 position)
{
    if (position == m_position)
        return;
    m_position = position;
    update();
}

void TSkyrunBar::SetBarColor(const QColor &color)
{
    m_barColor = color;
    update();
}

void TSkyrunBar::SetBackgroundColor(const QColor &color)
{
    m_backgroundColor = color;
    update();
}

void TSkyrunBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_backgroundColor);
    if (m_max <= 0 || m_position <= 0)
        return;
    const qint64 position = std::min(m_position, m_max);
    const int filled = static_cast<int>(static_cast<double>(width()) * static_cast<double>(position)
                                        / static_cast<double>(m_max));
    painter.fillRect(QRect(0, 0, filled, height()), m_barColor);
}
