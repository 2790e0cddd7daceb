#pragma once

#include <QColor>
#include <QWidget>

/// A smooth progress bar of the updater's window: a background and a bar drawn from
/// the left in proportion to the position. Holds 64-bit counts, so a file of any size
/// has a scale.
class TSkyrunBar : public QWidget
{
    Q_OBJECT
public:
    explicit TSkyrunBar(QWidget *parent = nullptr);

    qint64 Max() const { return m_max; }
    qint64 Position() const { return m_position; }
    void SetMax(qint64 max);
    void SetPosition(qint64 position);

    QColor BarColor() const { return m_barColor; }
    QColor BackgroundColor() const { return m_backgroundColor; }
    void SetBarColor(const QColor &color);
    void SetBackgroundColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qint64 m_max = 100;
    qint64 m_position = 0;
    QColor m_barColor;
    QColor m_backgroundColor;
};
