// Controls bound to the attributes of one configuration element.
#include "SettingsBinding.h"

#include "ConfigElement.h"
#include "WidgetComboDoc.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>

#include <climits>

namespace {

// The value of the text's leading decimal digits, an optional sign first; 0 without digits.
qint64 leadingNumber(const QByteArray &text)
{
    qsizetype end = text.startsWith('-') || text.startsWith('+') ? 1 : 0;
    while (end < text.size() && text.at(end) >= '0' && text.at(end) <= '9')
        ++end;
    bool ok = false;
    const qint64 value = text.left(end).toLongLong(&ok);
    return ok ? value : 0;
}

bool isChecked(QWidget *control)
{
    if (auto *box = qobject_cast<QGroupBox *>(control))
        return box->isChecked();
    auto *button = qobject_cast<QAbstractButton *>(control);
    return button != nullptr && button->isChecked();
}

void setChecked(QWidget *control, bool checked)
{
    if (auto *box = qobject_cast<QGroupBox *>(control))
        box->setChecked(checked);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setChecked(checked);
}

// An unchecked checkable group box keeps its children disabled, and lets them go once checked
// again, as it does itself.
void setUsable(QWidget *widget, bool usable)
{
    auto *group = qobject_cast<QGroupBox *>(widget->parentWidget());
    if (usable && group != nullptr && group->isCheckable() && !group->isChecked()) {
        widget->setEnabled(false);
        widget->setAttribute(Qt::WA_ForceDisabled, false);
        return;
    }
    widget->setEnabled(usable);
}

} // namespace

SettingsBinding::Entry::Entry(Kind kind, QWidget *control, const char *attribute, Presence presence)
    : m_kind(kind), m_control(control), m_attribute(attribute), m_presence(presence)
{
}

SettingsBinding::Entry &SettingsBinding::Entry::with(QWidget *companion)
{
    m_companions.append(companion);
    return *this;
}

SettingsBinding::Entry &SettingsBinding::Entry::alsoNeeds(const char *attribute)
{
    m_alsoNeeded.append(attribute);
    return *this;
}

SettingsBinding::Entry &SettingsBinding::Entry::sentWhen(QWidget *widget)
{
    m_sentWhen = widget;
    return *this;
}

SettingsBinding::Entry &SettingsBinding::Entry::sends(Sender sender)
{
    m_sender = std::move(sender);
    return *this;
}

SettingsBinding::Entry &SettingsBinding::Entry::settableWhenAbsent()
{
    m_settableWhenAbsent = true;
    return *this;
}

SettingsBinding::Entry &SettingsBinding::Entry::scaled(int unit)
{
    m_unit = qMax(1, unit);
    return *this;
}

SettingsBinding::Entry &SettingsBinding::Entry::plainWhenAbsent(const QString &title)
{
    m_plainTitle = title;
    return *this;
}

void SettingsBinding::Entry::load(PXRMsgElement *element)
{
    const char *value = PXRMsgElementAttributeValue(element, m_attribute.constData());
    bool present = value != nullptr;
    for (const QByteArray &other : m_alsoNeeded)
        present = present && PXRMsgElementAttributeValue(element, other.constData()) != nullptr;
    m_present = present;
    m_read = present ? QByteArray(value) : QByteArray();
    if (present)
        setFromText(m_read);
    auto *group = qobject_cast<QGroupBox *>(m_control.data());
    if (!present && m_plainTitle && group != nullptr) {
        group->setCheckable(false);
        group->setTitle(*m_plainTitle);
    } else if (present || !m_settableWhenAbsent) {
        apply(present);
    }
    m_loadedState = state();
}

// An absent attribute's control is never usable; its companions follow as the presence says.
// An absent value stays as the form left it.
void SettingsBinding::Entry::apply(bool present)
{
    if (auto *combo = qobject_cast<WidgetComboDoc *>(m_control.data())) {
        if (!present)
            combo->setValue(nullptr); // a value given has enabled it
    } else if (m_control != nullptr) {
        setUsable(m_control, present);
    }
    if (m_presence & Show && m_control != nullptr)
        m_control->setVisible(present);
    for (QWidget *companion : m_companions) {
        if (companion == nullptr)
            continue;
        if (m_presence & Enable)
            setUsable(companion, present);
        if (m_presence & Show)
            companion->setVisible(present);
    }
}

void SettingsBinding::Entry::setFromText(const QByteArray &text)
{
    switch (m_kind) {
    case Kind::Flag:
        setChecked(m_control, PXRMsgStrToBool(text.constData()) != 0);
        break;
    case Kind::Number:
        if (auto *spin = qobject_cast<QSpinBox *>(m_control.data()))
            spin->setValue(int(qBound(qint64(INT_MIN), leadingNumber(text) / m_unit, qint64(INT_MAX))));
        break;
    case Kind::Choice:
        if (auto *combo = qobject_cast<WidgetComboDoc *>(m_control.data()))
            combo->setValue(text.constData());
        break;
    case Kind::Text:
        if (auto *edit = qobject_cast<QLineEdit *>(m_control.data()))
            edit->setText(QString::fromUtf8(text));
        break;
    case Kind::Item:
        if (auto *combo = qobject_cast<QComboBox *>(m_control.data()))
            combo->setCurrentIndex(combo->findData(QString::fromUtf8(text), Qt::UserRole, Qt::MatchExactly));
        break;
    case Kind::Decimal:
        if (auto *spin = qobject_cast<QDoubleSpinBox *>(m_control.data()))
            spin->setValue(text.trimmed().toDouble());
        break;
    }
}

QVariant SettingsBinding::Entry::state() const
{
    switch (m_kind) {
    case Kind::Flag:
        return isChecked(m_control);
    case Kind::Number:
        if (auto *spin = qobject_cast<QSpinBox *>(m_control.data()))
            return spin->value();
        return {};
    case Kind::Choice:
        if (auto *combo = qobject_cast<WidgetComboDoc *>(m_control.data()))
            return combo->currentValue();
        return {};
    case Kind::Text:
        if (auto *edit = qobject_cast<QLineEdit *>(m_control.data()))
            return edit->text();
        return {};
    case Kind::Item:
        if (auto *combo = qobject_cast<QComboBox *>(m_control.data()))
            return combo->currentIndex() < 0 ? QByteArray() : combo->currentData().toString().toUtf8();
        return {};
    case Kind::Decimal:
        if (auto *spin = qobject_cast<QDoubleSpinBox *>(m_control.data()))
            return spin->value();
        return {};
    }
    return {};
}

bool SettingsBinding::Entry::touched() const
{
    return state() != m_loadedState;
}

std::optional<QByteArray> SettingsBinding::Entry::controlValue() const
{
    if (m_kind == Kind::Flag)
        return isChecked(m_control) ? QByteArray("1") : QByteArray("0");
    if (m_kind == Kind::Choice || m_kind == Kind::Item) {
        const QByteArray value = state().toByteArray();
        return value.isEmpty() ? std::nullopt : std::optional<QByteArray>(value);
    }
    // Out of the control's range or finer than its step: kept as read until changed.
    if (m_present && !touched())
        return m_read;
    if (m_kind == Kind::Number)
        return QByteArray::number(qint64(state().toInt()) * m_unit);
    if (auto *spin = qobject_cast<QDoubleSpinBox *>(m_control.data()))
        return QByteArray::number(spin->value(), 'f', spin->decimals());
    return state().toString().toUtf8();
}

bool SettingsBinding::Entry::usable() const
{
    if (!m_present && !(m_settableWhenAbsent && touched()))
        return false;
    QWidget *decides = m_sentWhen ? m_sentWhen.data() : m_control.data();
    if (decides == nullptr)
        return false;
    if (auto *combo = qobject_cast<WidgetComboDoc *>(decides))
        return combo->isEnabled();
    return decides->isEnabled();
}

std::optional<QByteArray> SettingsBinding::Entry::valueToSend() const
{
    if (!usable())
        return std::nullopt;
    return m_sender ? m_sender(*this) : controlValue();
}

SettingsBinding::Entry &SettingsBinding::add(Kind kind, QWidget *control, const char *attribute, Presence presence)
{
    m_entries.push_back(std::unique_ptr<Entry>(new Entry(kind, control, attribute, presence)));
    return *m_entries.back();
}

SettingsBinding::Entry &SettingsBinding::flag(QAbstractButton *control, const char *attribute, Presence presence)
{
    return add(Kind::Flag, control, attribute, presence);
}

SettingsBinding::Entry &SettingsBinding::flag(QGroupBox *control, const char *attribute, Presence presence)
{
    return add(Kind::Flag, control, attribute, presence);
}

SettingsBinding::Entry &SettingsBinding::number(QSpinBox *control, const char *attribute, Presence presence)
{
    return add(Kind::Number, control, attribute, presence);
}

SettingsBinding::Entry &SettingsBinding::choice(WidgetComboDoc *control, const char *attribute, Presence presence)
{
    return add(Kind::Choice, control, attribute, presence);
}

SettingsBinding::Entry &SettingsBinding::text(QLineEdit *control, const char *attribute, Presence presence)
{
    return add(Kind::Text, control, attribute, presence);
}

SettingsBinding::Entry &SettingsBinding::item(QComboBox *control, const char *attribute, Presence presence)
{
    return add(Kind::Item, control, attribute, presence);
}

SettingsBinding::Entry &SettingsBinding::decimal(QDoubleSpinBox *control, const char *attribute, Presence presence)
{
    return add(Kind::Decimal, control, attribute, presence);
}

void SettingsBinding::load(PXRMsgElement *element)
{
    for (const auto &entry : m_entries)
        entry->load(element);
}

void SettingsBinding::write(const ConfigElement &target) const
{
    for (const auto &entry : m_entries) {
        if (const std::optional<QByteArray> value = entry->valueToSend())
            target.set(entry->attribute().constData(), value->constData());
    }
}

bool SettingsBinding::writesAny() const
{
    for (const auto &entry : m_entries)
        if (entry->valueToSend())
            return true;
    return false;
}

const SettingsBinding::Entry *SettingsBinding::entry(const char *attribute) const
{
    for (const auto &entry : m_entries)
        if (entry->attribute() == attribute)
            return entry.get();
    return nullptr;
}

bool SettingsBinding::present(const char *attribute) const
{
    const Entry *found = entry(attribute);
    return found != nullptr && found->present();
}

void SettingsBinding::disableAll()
{
    for (const auto &entry : m_entries) {
        if (auto *combo = qobject_cast<WidgetComboDoc *>(entry->m_control.data()))
            combo->setValue(nullptr);
        else if (entry->m_control != nullptr)
            entry->m_control->setEnabled(false);
        for (QWidget *companion : entry->m_companions)
            if (companion != nullptr)
                companion->setEnabled(false);
    }
}
