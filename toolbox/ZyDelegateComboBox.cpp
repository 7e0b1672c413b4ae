// Combo-box item delegate whose entries the toolbox's tree rows can read back.
#include "ZyDelegateComboBox.h"

ZyDelegateComboBox::ZyDelegateComboBox(QObject *parent)
    : QItemDelegate(parent)
{
}

QComboBox *ZyDelegateComboBox::comboBox()
{
    return &m_comboBox;
}
