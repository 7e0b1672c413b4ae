// One log unit: time-stamped lines to a daily file, a coloured view and the console.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QFile;
class QPlainTextEdit;

class ZyLogsUnit : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    explicit ZyLogsUnit(QObject *parent = nullptr);
    ~ZyLogsUnit() override;

    // A line the same as the one before (text and level) is only counted; the run is written
    // once, with its count, when another line comes or on flush().
    void log(quint8 level, const QString &text);
    void flush();
    void initFile(bool toFile, const QString &folder, const QString &name, quint8 daysToKeep);
    void setLevel(quint8 level);
    void setConsole(bool console);
    void setForward(bool forward);
    void setTextBrowser(QPlainTextEdit *view);

    // Local time source of line stamps and file dates; tests put their own here.
    void setClock(Clock clock);

    // "%NAME%" references replaced by environment values, in one pass over the text.
    static QString expandVariables(const QString &text);

signals:
    void signalLogToTextBrowser(quint8 nLevel, const QString &line);

private slots:
    void onLogToTextBrowser(quint8 nLevel, const QString &strLog);

private:
    void emitLine(quint8 level, const QDateTime &now, const QString &text);
    void writeRepeats(const QDateTime &now);
    QString filePath(const QDate &date) const;
    void writeToFile(const QDate &today, const QString &line);
    void openFileFor(const QDate &today);
    void purgeOldFiles(const QDate &today);
    void onViewDestroyed();

    quint8 m_maxLevel = 4;
    std::unique_ptr<QFile> m_file;
    QString m_folder = ".";
    QString m_name;
    quint8 m_daysToKeep = 10;
    bool m_toFile = false;
    bool m_console = false;
    QMutex m_lock;
    QDate m_fileDate;
    bool m_hasView = false;
    QPointer<QPlainTextEdit> m_view;
    int m_maxViewRows = 300;
    std::atomic_bool m_forward = false;
    Clock m_clock;
    quint8 m_lastLevel = 0;
    QString m_lastText;
    qint64 m_repeats = 0;
};
