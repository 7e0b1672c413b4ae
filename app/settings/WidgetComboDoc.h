// A combo of the values the sensor's schema allows for one attribute, each under its translated
// label, with the schema's documentation of the attribute and of the chosen value in a box that
// a help button folds out.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace Ui {
class WidgetComboDoc;
}

class WidgetComboDoc : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetComboDoc(QWidget *parent = nullptr);
    ~WidgetComboDoc() override;

    // One item per value the schema lists for the attribute of the element at the path (generic
    // names, "config" first), in schema order; the first becomes current.
    void fill(const QStringList &path, const QString &attribute);
    // Null disables the combo and keeps its selection; a value enables it and selects the item of
    // exactly that value, or none.
    void setValue(const char *value);
    // The chosen item's value as UTF-8; empty without a selection.
    QByteArray currentValue() const;
    void removeValue(const char *value);
    int count() const;
    // The inner combo's state, false too while a container around it is disabled.
    bool isEnabled() const;

signals:
    void currentIndexChanged(int index);

private slots:
    void on_comboBox_currentIndexChanged(int index);
    void on_btnDoc_clicked();

private:
    void refreshDoc();

    std::unique_ptr<Ui::WidgetComboDoc> ui;
    QString m_doc;
};
