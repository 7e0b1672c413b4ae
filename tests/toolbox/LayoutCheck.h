// Walks a widget tree and lists what a person would see cut or covered: button, label, group
// title, tab and header texts wider than their rectangle, tabs scrolled out of sight or under the
// tab bar's arrows, children outside their parent's frame and visible siblings that overlap.
#pragma once

#include <QList>
#include <QString>

class QWidget;

struct LayoutFault
{
    QString path;    // object names (or classes) from the checked widget down
    QString text;    // the text that does not fit, or the other widget of an overlap
    QString problem; // "text cut", "tab out of sight", "outside its parent", "overlaps"
    int needed = 0;  // width (height for wrapped labels) the text needs, or the overlap's width
    int given = 0;   // what the widget has
};

// Every fault of the visible widgets under the root, the root included.
QList<LayoutFault> checkLayout(const QWidget &root);

// One line per fault, for a test's failure message.
QString describeFaults(const QList<LayoutFault> &faults);
