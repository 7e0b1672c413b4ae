// The entry of one static route of the sensor: destination, interface and gateway.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DialogNetworkRoute;
}

class DialogNetworkRoute : public QDialog
{
    Q_OBJECT

public:
    explicit DialogNetworkRoute(QWidget *parent);
    ~DialogNetworkRoute() override;

    // The texts as typed.
    QString destination() const;
    QString gateway() const;
    // The chosen interface; empty without a choice.
    QString interfaceName() const;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogNetworkRoute> ui;
};
