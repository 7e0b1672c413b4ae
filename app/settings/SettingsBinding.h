// Controls bound to the attributes of one configuration element. Loading shows what the sensor
// has (a control whose attribute is missing is disabled or hidden); writing puts into a request
// only the attributes that were read and whose controls are usable, an untouched value exactly
// as it was read.
//
//   binding.flag(ui->checkFilter, "duplicateFilter");
//   binding.choice(ui->comboDirection, "direction").with(ui->labelDirection);
//   binding.load(element);
//   ...
//   binding.write(request.path(...));
#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "PXR.h"

class ConfigElement;
class QAbstractButton;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
class QWidget;
class WidgetComboDoc;

class SettingsBinding
{
public:
    // What a missing attribute does to its control (and companions): disabled, hidden, or both.
    enum Presence { Enable = 1, Show = 2, EnableAndShow = Enable | Show };
    enum class Kind { Flag, Number, Choice, Text, Item, Decimal };

    class Entry
    {
    public:
        using Sender = std::function<std::optional<QByteArray>(const Entry &entry)>;

        // Widgets (labels, buttons) enabled or shown with the control.
        Entry &with(QWidget *companion);
        // The control counts as present only when this attribute is there as well.
        Entry &alsoNeeds(const char *attribute);
        // The widget whose usability decides whether the attribute is sent (the control itself
        // unless told).
        Entry &sentWhen(QWidget *widget);
        // What is sent in place of the control's value; nothing when it gives nothing.
        Entry &sends(Sender sender);
        // A missing attribute leaves the control as the form has it, usable; the value is sent
        // once the operator changes it.
        Entry &settableWhenAbsent();
        // A number shown in units of that many: the text read divided (fraction dropped), a
        // changed value sent multiplied back.
        Entry &scaled(int unit);
        // A switch group the sensor lacks keeps its controls usable: it loses its check box and
        // takes that title, and nothing is sent for it.
        Entry &plainWhenAbsent(const QString &title);

        const QByteArray &attribute() const { return m_attribute; }
        bool present() const { return m_present; }
        // The text as read from the configuration (empty when absent).
        const QByteArray &read() const { return m_read; }
        // Whether the operator changed the control since it was loaded.
        bool touched() const;
        // The control's value to send: an untouched value as read; nothing for a choice
        // without selection.
        std::optional<QByteArray> controlValue() const;

    private:
        friend class SettingsBinding;
        Entry(Kind kind, QWidget *control, const char *attribute, Presence presence);

        void load(PXRMsgElement *element);
        void apply(bool present);
        void setFromText(const QByteArray &text);
        QVariant state() const;
        bool usable() const;
        std::optional<QByteArray> valueToSend() const;

        Kind m_kind;
        QPointer<QWidget> m_control;
        QByteArray m_attribute;
        Presence m_presence;
        QList<QPointer<QWidget>> m_companions;
        QList<QByteArray> m_alsoNeeded;
        QPointer<QWidget> m_sentWhen;
        Sender m_sender;
        bool m_settableWhenAbsent = false;
        int m_unit = 1;
        std::optional<QString> m_plainTitle;
        bool m_present = false;
        QByteArray m_read;
        QVariant m_loadedState;
    };

    SettingsBinding() = default;
    SettingsBinding(const SettingsBinding &) = delete;
    SettingsBinding &operator=(const SettingsBinding &) = delete;

    // Booleans: checked exactly for "true" or "1", sent as "1" or "0".
    Entry &flag(QAbstractButton *control, const char *attribute, Presence presence = Enable);
    // A checkable group box as the switch of what it holds.
    Entry &flag(QGroupBox *control, const char *attribute, Presence presence = Enable);
    // Numbers: the text's leading decimal digits (0 without any), sent in decimal.
    Entry &number(QSpinBox *control, const char *attribute, Presence presence = Enable);
    // Enumerations: the schema combo's value; no selection sends nothing.
    Entry &choice(WidgetComboDoc *control, const char *attribute, Presence presence = Enable);
    // Free texts, as UTF-8.
    Entry &text(QLineEdit *control, const char *attribute, Presence presence = Enable);
    // A plain combo whose items carry their values as data: the item of exactly the value read,
    // or none; no selection sends nothing.
    Entry &item(QComboBox *control, const char *attribute, Presence presence = Enable);
    // Decimal numbers, read and sent with a decimal point whatever the operator's locale, to the
    // control's decimals.
    Entry &decimal(QDoubleSpinBox *control, const char *attribute, Presence presence = Enable);

    // Shows the element's attributes in the controls; null is an element without attributes.
    void load(PXRMsgElement *element);
    // Sets on the target, in the order bound, every attribute that was read and is usable.
    void write(const ConfigElement &target) const;
    // Whether write would set any attribute at all.
    bool writesAny() const;

    // The entry of the attribute, or null.
    const Entry *entry(const char *attribute) const;
    bool present(const char *attribute) const;
    // Every bound control and companion disabled, whatever was read.
    void disableAll();

private:
    Entry &add(Kind kind, QWidget *control, const char *attribute, Presence presence);

    std::vector<std::unique_ptr<Entry>> m_entries;
};
