// The combo of one schema attribute's enumeration, with its fold-out documentation box.
#include "WidgetComboDoc.h"
#include "ui_WidgetComboDoc.h"

#include "Model.h"
#include "SettingsResources.h"
#include "ZyLumatrekTr.h"

namespace {

// Where each item keeps the schema's documentation of its value, beside the value itself.
constexpr int kValueDocRole = Qt::UserRole + 1;

} // namespace

WidgetComboDoc::WidgetComboDoc(QWidget *parent) : QWidget(parent), ui(new Ui::WidgetComboDoc)
{
    loadSettingsResources();
    ui->setupUi(this);
    connect(ui->comboBox, &QComboBox::currentIndexChanged, this, &WidgetComboDoc::currentIndexChanged);
    refreshDoc(); // the form's placeholder text never shows
}

WidgetComboDoc::~WidgetComboDoc() = default;

void WidgetComboDoc::fill(const QStringList &path, const QString &attribute)
{
    ui->comboBox->clear();
    const SchemaDoc &schema = Model::instance()->schemaDoc();
    m_doc = schema.documentationHtml(path, attribute, false, false);
    const QStringList values = schema.enumValues(path, attribute);
    for (qsizetype i = 0; i + 1 < values.size(); i += 2) {
        const QString &value = values[i];
        ui->comboBox->addItem(ZyLumatrekTr::valueLabel(value.toUtf8().constData()), value);
        ui->comboBox->setItemData(ui->comboBox->count() - 1, values[i + 1], kValueDocRole);
    }
    refreshDoc();
}

void WidgetComboDoc::setValue(const char *value)
{
    if (value == nullptr) {
        ui->comboBox->setEnabled(false);
    } else {
        ui->comboBox->setEnabled(true);
        ui->comboBox->setCurrentIndex(ui->comboBox->findData(QString::fromUtf8(value)));
    }
    refreshDoc();
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

// The attribute's documentation, then that of the chosen value; without either the help button
// goes too.
void WidgetComboDoc::refreshDoc()
{
    QString text = m_doc;
    const QString valueDoc = ui->comboBox->currentData(kValueDocRole).toString();
    if (!valueDoc.isEmpty()) {
        if (!text.isEmpty())
            text += "<br/>";
        text += "<b>" + tr("Current value: ") + "</b>" + valueDoc;
    }
    const bool hasDoc = !text.isEmpty();
    ui->btnDoc->setVisible(hasDoc);
    ui->widgetDoc->setVisible(hasDoc && ui->btnDoc->isChecked());
    if (hasDoc)
        ui->labelDoc->setText(text);
}
