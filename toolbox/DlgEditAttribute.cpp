// The name and value of one message attribute, asked of the operator.
#include "DlgEditAttribute.h"
#include "ui_DlgEditAttribute.h"

#include "ZyDialogs.h"
#include "ZyModalRunner.h"

DlgEditAttribute::DlgEditAttribute(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgEditAttribute)
{
    ui->setupUi(this);
}

DlgEditAttribute::~DlgEditAttribute()
{
    delete ui;
}

int DlgEditAttribute::edit(QString &name, QString &value)
{
    m_name = &name;
    m_value = &value;
    ui->edtName->setText(name);
    ui->edtValue->setText(value);
    if (!name.isEmpty())
        ui->edtValue->setFocus();
    const int result = ZyModalRunner::exec(this);
    m_name = m_value = nullptr;
    return result;
}

void DlgEditAttribute::on_buttonBox_accepted()
{
    if (ui->edtName->text().isEmpty()) {
        ZyDialogs::critical(this, tr("Error"), tr("Name can't be empty"), QString());
        return;
    }
    if (m_name)
        *m_name = ui->edtName->text();
    if (m_value)
        *m_value = ui->edtValue->text();
    accept();
}

void DlgEditAttribute::on_buttonBox_rejected()
{
    reject();
}
