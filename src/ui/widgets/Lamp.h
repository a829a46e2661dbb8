#pragma once

#include <QColor>
#include <QWidget>

namespace vantrel::widgets {

// A small round indicator lamp (state, link, range and trip lamps, guide markers).
class Lamp : public QWidget {
    Q_OBJECT
public:
    explicit Lamp(int diameter = 14, QWidget* parent = nullptr);
    void SetColour(const QColor& colour);
    QColor colour() const { return m_colour; }
    QSize sizeHint() const override { return {m_diameter, m_diameter}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_diameter;
    QColor m_colour{224, 224, 224};
};

}  // namespace vantrel::widgets
