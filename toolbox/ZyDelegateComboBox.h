// Combo-box item delegate whose entries the toolbox's tree rows can read back.
#pragma once

#include <QComboBox>
#include <QItemDelegate>

class ZyDelegateComboBox : public QItemDelegate
{
    Q_OBJECT

public:
    explicit ZyDelegateComboBox(QObject *parent = nullptr);

    QComboBox *comboBox();

private:
    QComboBox m_comboBox;
};
