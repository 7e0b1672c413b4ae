// The value control of the sensor panels: a slider paired with a spin box or a list of texts,
// reporting the operator's settled choices only.
#include "WidgetSlider.h"

#include "ui_WidgetSlider.h"

#include <QDebug>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace {

// Each report becomes a request to the sensor: a drag reports at its pauses, not at every step.
constexpr int kSettleMs = 100;

} // namespace

WidgetSlider::WidgetSlider(QWidget *parent, void *userData)
    : QWidget(parent)
    , ui(std::make_unique<Ui::WidgetSlider>())
    , m_userData(userData)
{
    ui->setupUi(this);
    ui->slider->installEventFilter(this);
    ui->spinBox->installEventFilter(this);
    // A typed number counts only once committed.
    ui->spinBox->setKeyboardTracking(false);
    timerSlider.setSingleShot(true);
    timerSlider.setInterval(kSettleMs);
    connect(&timerSlider, &QTimer::timeout, this, &WidgetSlider::onTimerSlider);
}

WidgetSlider::~WidgetSlider() = default;

void WidgetSlider::setRange(int minimum, int maximum)
{
    const QSignalBlocker blockSlider(ui->slider);
    const QSignalBlocker blockSpin(ui->spinBox);
    const QSignalBlocker blockSelf(this);
    ui->slider->setRange(minimum, maximum);
    ui->spinBox->setRange(minimum, maximum);
    ui->comboBox->hide();
    ui->spinBox->show();
}

void WidgetSlider::setValues(const QStringList &values)
{
    const QSignalBlocker blockSlider(ui->slider);
    const QSignalBlocker blockSpin(ui->spinBox);
    const QSignalBlocker blockCombo(ui->comboBox);
    const QSignalBlocker blockSelf(this);
    ui->slider->setRange(0, int(values.size()) - 1);
    ui->comboBox->clear();
    ui->comboBox->addItems(values);
    for (int i = 0; i < ui->comboBox->count(); ++i)
        ui->comboBox->setItemData(i, values.at(i), Qt::ToolTipRole);
    ui->comboBox->show();
    ui->spinBox->hide();
}

void WidgetSlider::setTickInterval(int interval)
{
    if (interval == -1) {
        ui->slider->setTickPosition(QSlider::NoTicks);
        return;
    }
    ui->slider->setTickPosition(QSlider::TicksBothSides);
    ui->slider->setTickInterval(interval);
}

void WidgetSlider::setValue(int value)
{
    if (ui->slider->isSliderDown())
        return;
    m_lastValue = value;
    showValue(value);
}

void WidgetSlider::setText(const QString &text)
{
    m_lastText = text;
    const int index = ui->comboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (ui->slider->isSliderDown())
        return;
    m_lastValue = index;
    showValue(index);
}

void WidgetSlider::showValue(int value)
{
    const QSignalBlocker blockSlider(ui->slider);
    const QSignalBlocker blockSpin(ui->spinBox);
    const QSignalBlocker blockCombo(ui->comboBox);
    const QSignalBlocker blockSelf(this);
    ui->slider->setValue(value);
    ui->spinBox->setValue(value);
    ui->comboBox->setCurrentIndex(value);
}

bool WidgetSlider::isListMode() const
{
    return ui->spinBox->isHidden();
}

bool WidgetSlider::eventFilter(QObject *watched, QEvent *event)
{
    // Swallowed but not accepted: the wheel scrolls the panel around the control instead.
    if (event->type() == QEvent::Wheel && (watched == ui->slider || watched == ui->spinBox)) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// A report's receiver may wait for the sensor while events run, and the panel holding the
// control may be rebuilt meanwhile: the control goes only once its report has returned.
bool WidgetSlider::event(QEvent *event)
{
    if (event->type() == QEvent::DeferredDelete && m_reporting) {
        m_deleteAfterReport = true;
        return true;
    }
    return QWidget::event(event);
}

void WidgetSlider::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

void WidgetSlider::on_slider_sliderReleased()
{
    timerSlider.stop();
    report();
}

void WidgetSlider::on_slider_valueChanged(int value)
{
    timerSlider.stop();
    timerSlider.start();
    ui->comboBox->setCurrentIndex(value);
    ui->spinBox->setValue(value);
}

void WidgetSlider::on_spinBox_valueChanged(int value)
{
    if (!isListMode())
        ui->slider->setValue(value);
}

void WidgetSlider::on_spinBox_editingFinished()
{
    if (!isListMode())
        ui->slider->setValue(ui->spinBox->value());
}

void WidgetSlider::on_comboBox_currentIndexChanged(int index)
{
    if (isListMode())
        ui->slider->setValue(index);
}

void WidgetSlider::onTimerSlider()
{
    report();
}

void WidgetSlider::report()
{
    m_reporting = true;
    emitReport();
    m_reporting = false;
    // Not deleteLater(): a second request of it is dropped, the first one having been swallowed.
    if (m_deleteAfterReport)
        QMetaObject::invokeMethod(this, [this] { delete this; }, Qt::QueuedConnection);
}

void WidgetSlider::emitReport()
{
    if (!isListMode()) {
        const int value = ui->slider->value();
        if (value == m_lastValue)
            return;
        qDebug() << "emit : " << value << m_lastValue;
        m_lastValue = value;
        emit valueChanged(value);
        return;
    }
    const QString text = ui->comboBox->currentText();
    if (text == m_lastText)
        return;
    m_lastText = text;
    emit textChanged(text);
}
