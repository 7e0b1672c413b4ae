// Placeholder until the form lands.
#include "WidgetComboDoc.h"

#include "Model.h"

#include <QComboBox>
#include <QVBoxLayout>

namespace Ui {
class WidgetComboDoc
{
public:
    QComboBox *comboBox = nullptr;
};
} // namespace Ui

WidgetComboDoc::WidgetComboDoc(QWidget *parent) : QWidget(parent), ui(new Ui::WidgetComboDoc)
{
    ui->comboBox = new QComboBox(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ui->comboBox);
    connect(ui->comboBox, &QComboBox::currentIndexChanged, this, &WidgetComboDoc::currentIndexChanged);
}

WidgetComboDoc::~WidgetComboDoc() = default;

void WidgetComboDoc::fill(const QStringList &path, const QString &attribute)
{
    ui->comboBox->clear();
    const QStringList values = Model::instance()->schemaDoc().enumValues(path, attribute);
    for (qsizetype i = 0; i + 1 < values.size(); i += 2)
        ui->comboBox->addItem(values[i], values[i]);
}

void WidgetComboDoc::setValue(const char *value)
{
    if (value == nullptr) {
        ui->comboBox->setEnabled(false);
        return;
    }
    ui->comboBox->setEnabled(true);
    ui->comboBox->setCurrentIndex(ui->comboBox->findData(QString::fromUtf8(value)));
}

QByteArray WidgetComboDoc::currentValue() const
{
    return ui->comboBox->currentData().toString().toUtf8();
}

void WidgetComboDoc::removeValue(const char *value)
{
    const int index = ui->comboBox->findData(QString::fromUtf8(value));
    if (index >= 0)
        ui->comboBox->removeItem(index);
}

int WidgetComboDoc::count() const
{
    return ui->comboBox->count();
}

bool WidgetComboDoc::isEnabled() const
{
    return ui->comboBox->isEnabled();
}

void WidgetComboDoc::on_comboBox_currentIndexChanged(int)
{
    refreshDoc();
}

void WidgetComboDoc::on_btnDoc_clicked()
{
    refreshDoc();
}

void WidgetComboDoc::refreshDoc() {}
