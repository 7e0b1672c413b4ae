// A small drawn on/off switch; its owner decides the state after each press.
#pragma once

#include <QLabel>
#include <QLinearGradient>
#include <QPixmap>
#include <QString>
#include <QWidget>

class ZySwitchButton : public QWidget
{
    Q_OBJECT

public:
    struct Style
    {
        bool showImages = false;
        QString text1;
        QString text2;
        QPixmap offImage;
        QPixmap onImage;
        bool value = false;
        bool enabled = true;
        int integer = 0;
        int height = 24;
        float widthRatio = 2.0f;
        QString offTooltip;
        QString onTooltip;
    };

    // The track and the knob; moc cannot give nested classes a meta-object.
    class SwitchBackground : public QWidget
    {
    public:
        explicit SwitchBackground(QWidget *parent);
        void setValue(bool value);
        void setPartEnabled(bool enabled);

    protected:
        void paintEvent(QPaintEvent *event) override;

    private:
        bool m_value = false;
        bool m_enabled = true;
    };

    class SwitchCircle : public QWidget
    {
    public:
        SwitchCircle(QWidget *parent, int side);
        void setPartEnabled(bool enabled);

    protected:
        void paintEvent(QPaintEvent *event) override;

    private:
        QLinearGradient m_enabledGradient;
        QLinearGradient m_disabledGradient;
        bool m_enabled = true;
    };

    ZySwitchButton(QWidget *parent, const Style &style);

    void setValue(bool value);
    bool value() const;

signals:
    void valueChanged(bool newvalue);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void placeImage(QLabel *label, const QPixmap &image, int x);

    bool m_value = false;
    Style m_style;
    int m_width = 0;
    QLabel *m_offLabel = nullptr;
    QLabel *m_onLabel = nullptr;
    SwitchBackground *m_background = nullptr;
    SwitchCircle *m_circle = nullptr;
    bool m_enabled = true;
};
