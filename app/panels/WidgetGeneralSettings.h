// The property tree of the "Sensor" dock: sections with their edit links and property rows,
// found again by caption on every refill, with the memory of expanded sections.
#pragma once

#include "AppSettings.h"
#include "ZyTreeWidget.h"
#include "ZyTreeWidgetItem.h"

#include <QSet>
#include <QTimer>

struct PXRMsgElement;

class WidgetGeneralSettings : public ZyTreeWidget
{
    Q_OBJECT

public:
    // Data the tree keeps on column 0 of its rows.
    enum DataRole {
        TagRole = Qt::UserRole + 5,
        LightingIdRole = Qt::UserRole + 10,
        LightingAttributeRole = Qt::UserRole + 11,
        LightingElementRole = Qt::UserRole + 12,
        PathRole = Qt::UserRole + 20,
        AttributeRole = Qt::UserRole + 21,
    };

    explicit WidgetGeneralSettings(QWidget *parent = nullptr);
    ~WidgetGeneralSettings() override;

    void setupHeader(const QString &treeName);

    // Finds the section among the parent's children by the key of its caption (up to a
    // leading "[id]"), renaming it, or creates it; null parent: top level.
    ZyTreeWidgetItem *addSection(QTreeWidgetItem *parent, const QString &caption, PXRMsgElement *element,
                                 bool topLevelStyle, const QString &tag = QString(), bool forceLink = false,
                                 const QString &linkText = QString());
    // Finds the row by its exact caption or appends it, and shows the value.
    ZyTreeWidgetItem *addProperty(QTreeWidgetItem *parent, const QString &caption, const QString &value,
                                  PXRMsgElement *element, const char *attribute, bool markUnset);
    void removeRow(QTreeWidgetItem *parent, const QString &caption);
    void saveExpandedState();
    void clearTree();

    void fillConfig();
    void fillInfos();
    void updateStatistics();

    // The part of a caption that identifies its section.
    static QString sectionKey(const QString &caption);
    // The names of the elements from the message root down to the element.
    static QStringList elementPath(PXRMsgElement *element);

signals:
    void openDialog(QString strTagKey);

public slots:
    void onCurrentItemChanged(QTreeWidgetItem *current);
    void editClicked(QString strDialogTag);
    // Sends the change of one of the tree's lighting power sliders.
    void on_sliderLighting_valueChanged(int value);
    void on_timerStat_timeout();
    // Saves the classification data of the camera the link names.
    void on_labelClassifSave_activated(QString strLink);

private:
    // Appends the row, or during a configuration fill puts it in the fill's order.
    void insertRow(QTreeWidgetItem *parent, QTreeWidgetItem *row);
    void markTouched(QTreeWidgetItem *item);
    // Deletes the rows under the item that the running fill did not add or update.
    void removeUntouched(QTreeWidgetItem *item);
    void fitCaptions();
    void addLink(QTreeWidgetItem *section, const QString &tag, const QString &linkText);

    AppSettings settings;
    QTimer timerStat;
    ZyTreeWidgetItem *statisticsSection = nullptr;
    // Rows added or updated by the configuration fill in progress; null when none runs.
    QSet<QTreeWidgetItem *> *m_touched = nullptr;
};
