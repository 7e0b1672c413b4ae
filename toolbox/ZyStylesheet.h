// The application's style sheet, one piece per widget class.
#pragma once

#include <QObject>
#include <QString>

class ZyStylesheet : public QObject
{
    Q_OBJECT

public:
    ZyStylesheet() = delete;

    static QString checkBox();
    static QString comboBox();
    static QString dateTimeEdit();
    static QString dialog();
    static QString groupBox();
    static QString headerView();
    static QString lineEdit();
    static QString mainWindow();
    static QString menuBar();
    static QString menu();
    static QString plainTextEdit();
    static QString pushButton();
    static QString scrollAreaContents();
    static QString scrollBar();
    static QString spinBox();
    static QString tabBar();
    static QString tabWidget();
    static QString tableView();
    static QString toolBar();
    static QString toolButton();
    static QString treeView();

    // Makes the toolbox's compiled pictures (style sheet parts, icons) reachable under ":/".
    static void registerPictures();

private:
    static QString sheet(const char *text);
};
