// The traces dock's content: the global log and the main window's three log units on tabs,
// with a Clear link; the selected tab is remembered.
#pragma once

#include <QWidget>

namespace Ui {
class WidgetTraces;
}

class WidgetTraces : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetTraces(QWidget *parent = nullptr);
    ~WidgetTraces() override;

public slots:
    void clear();

private:
    Ui::WidgetTraces *ui;
};
