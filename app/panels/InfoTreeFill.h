// The information tree's sections, built anew from the kept information, and the rows of its
// live statistics section.
#pragma once

#include "TreeFill.h"

class InfoTreeFill : public TreeFill
{
    Q_DECLARE_TR_FUNCTIONS(InfoTreeFill)

public:
    explicit InfoTreeFill(WidgetGeneralSettings &tree);

    // Fills an empty tree; gives the "Statistics" section.
    ZyTreeWidgetItem *fill(PXRMsgElement *infos);
    void statistics(QTreeWidgetItem *section);

private:
    void device(PXRMsgElement *sensor);
    void modem(PXRMsgElement *infos);
    void temperature(PXRMsgElement *infos);
    void status(PXRMsgElement *sensor);
    void versions(PXRMsgElement *sensor, PXRMsgElement *anpr);
    void applications(PXRMsgElement *infos);
    void network(PXRMsgElement *infos);
    void rvd(PXRMsgElement *infos);
    void cameras(PXRMsgElement *infos);
    void camera(QTreeWidgetItem *section, PXRMsgElement *camera);
    void lightings(PXRMsgElement *infos);
    void security(PXRMsgElement *infos);
    void certificate(QTreeWidgetItem *section, PXRMsgElement *element);
    void validity(QTreeWidgetItem *section, PXRMsgElement *element, const QString &caption, const char *attribute,
                  int redSide);
    void counters(PXRMsgElement *sensor);
};
