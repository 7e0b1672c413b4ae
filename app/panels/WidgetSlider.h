// The value control of the sensor panels: a slider paired with a spin box or a list of texts,
// reporting the operator's settled choices only.
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class WidgetSlider;
}

class WidgetSlider : public QWidget
{
    Q_OBJECT

public:
    // The user data is handed back by userData() and never looked at.
    explicit WidgetSlider(QWidget *parent = nullptr, void *userData = nullptr);
    ~WidgetSlider() override;

    // Numeric mode: the slider with a spin box over that range.
    void setRange(int minimum, int maximum);
    // List mode: the slider walks the texts, shown in a drop-down list.
    void setValues(const QStringList &values);
    // -1 removes the tick marks.
    void setTickInterval(int interval);
    // Values the program sets are never reported, and wait while the operator holds the handle.
    void setValue(int value);
    void setText(const QString &text);

    bool isListMode() const;
    void *userData() const { return m_userData; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

signals:
    void valueChanged(int value);
    void textChanged(const QString &text);

protected:
    void wheelEvent(QWheelEvent *event) override;

private slots:
    void on_slider_sliderReleased();
    void on_slider_valueChanged(int value);
    void on_spinBox_valueChanged(int value);
    void on_spinBox_editingFinished();
    void on_comboBox_currentIndexChanged(int index);
    void onTimerSlider();

private:
    // Reports the slider's value or the list's text when it differs from the last one.
    void report();
    void emitReport();
    // Sets every part to the value without a signal.
    void showValue(int value);

    std::unique_ptr<Ui::WidgetSlider> ui;
    void *m_userData;
    QTimer timerSlider;
    int m_lastValue = 0;
    QString m_lastText;
    // A report is running; a deletion asked meanwhile waits for its end.
    bool m_reporting = false;
    bool m_deleteAfterReport = false;
};
