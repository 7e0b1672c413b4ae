// The name and value of one message attribute, asked of the operator.
#pragma once

#include <QDialog>
#include <QString>

namespace Ui {
class DlgEditAttribute;
}

class DlgEditAttribute : public QDialog
{
    Q_OBJECT

public:
    explicit DlgEditAttribute(QWidget *parent = nullptr);
    ~DlgEditAttribute() override;

    // Runs the dialog on the two strings; on acceptance they hold the edited texts. Returns the result.
    int edit(QString &name, QString &value);

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    Ui::DlgEditAttribute *ui;
    QString *m_name = nullptr;
    QString *m_value = nullptr;
};
