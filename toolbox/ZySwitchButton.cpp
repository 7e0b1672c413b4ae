// A small drawn on/off switch; its owner decides the state after each press.
#include "ZySwitchButton.h"

#include <QMouseEvent>
#include <QPainter>

ZySwitchButton::SwitchBackground::SwitchBackground(QWidget *parent)
    : QWidget(parent)
{
}

void ZySwitchButton::SwitchBackground::setValue(bool value)
{
    m_value = value;
}

void ZySwitchButton::SwitchBackground::setPartEnabled(bool enabled)
{
    m_enabled = enabled;
    setEnabled(enabled);
}

void ZySwitchButton::SwitchBackground::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.fillRect(rect(), m_value ? QColor(170, 170, 170) : QColor(150, 150, 150));
    painter.fillRect(rect().adjusted(1, 1, -1, -1), m_value ? QColor(194, 67, 50) : QColor(210, 210, 210));
}

ZySwitchButton::SwitchCircle::SwitchCircle(QWidget *parent, int side)
    : QWidget(parent)
    , m_enabledGradient(0, 0, 0, side)
    , m_disabledGradient(0, 0, 0, side)
{
    m_enabledGradient.setColorAt(0, QColor(209, 222, 224));
    m_enabledGradient.setColorAt(1, QColor(16, 127, 153));
    m_disabledGradient.setColorAt(0, QColor(209, 222, 224));
    m_disabledGradient.setColorAt(1, QColor(104, 144, 153));
    setFixedSize(side, side);
}

void ZySwitchButton::SwitchCircle::setPartEnabled(bool enabled)
{
    m_enabled = enabled;
    setEnabled(enabled);
}

void ZySwitchButton::SwitchCircle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.fillRect(rect(), QColor(120, 120, 120));
    painter.fillRect(rect().adjusted(1, 1, -1, -1), QColor(210, 210, 210));
    painter.fillRect(rect().adjusted(2, 2, -2, -2), m_enabled ? m_enabledGradient : m_disabledGradient);
}

ZySwitchButton::ZySwitchButton(QWidget *parent, const Style &style)
    : QWidget(parent)
    , m_style(style)
    , m_width(int(float(style.height) * style.widthRatio))
    , m_enabled(style.enabled)
{
    const int side = m_style.height;
    m_background = new SwitchBackground(this);
    m_background->setFixedSize(m_width, side);
    m_onLabel = new QLabel(this);
    m_onLabel->setFixedSize(side, side);
    m_circle = new SwitchCircle(this, side);
    m_offLabel = new QLabel(this);
    m_offLabel->setFixedSize(side, side);

    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(m_width, side);

    if (m_style.showImages) {
        placeImage(m_offLabel, m_style.offImage, m_width - side);
        placeImage(m_onLabel, m_style.onImage, 5);
    }
    setValue(m_style.value);
}

void ZySwitchButton::placeImage(QLabel *label, const QPixmap &image, int x)
{
    const int side = m_style.height - 7;
    if (!image.isNull())
        label->setPixmap(image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    label->move(x, 0);
}

bool ZySwitchButton::value() const
{
    return m_value;
}

void ZySwitchButton::setValue(bool value)
{
    m_value = value;
    m_background->setValue(value);
    m_background->repaint();
    m_circle->move(value ? m_width - m_style.height : 0, 0);
    m_offLabel->setVisible(!value);
    m_onLabel->setVisible(value);
    setToolTip(value ? m_style.onTooltip : m_style.offTooltip);
    update();
    m_circle->setPartEnabled(m_enabled);
    m_background->setPartEnabled(m_enabled);
    setEnabled(m_enabled);
    emit valueChanged(value);
}

void ZySwitchButton::mousePressEvent(QMouseEvent *event)
{
    emit clicked();
    QWidget::mousePressEvent(event);
}

void ZySwitchButton::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
}
