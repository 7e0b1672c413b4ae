// One log unit: time-stamped lines to a daily file, a coloured view and the console.
#include "ZyLogsUnit.h"

#include "ZyAppData.h"
#include "ZyLogs.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QPlainTextEdit>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QScrollBar>

#include <cstdio>

namespace {

const char *const kDateFormat = "yyyyMMdd";

QString environmentValue(const QString &name)
{
    const QString upper = name.toUpper();
    if (upper == "APPDATA")
        return ZyAppData::folder();
    return QProcessEnvironment::systemEnvironment().value(upper);
}

QString colourOf(quint8 level)
{
    if (level <= 3)
        return "#800000";
    if (level == 4)
        return "#FFA500";
    if (level == 5)
        return "#000000";
    return "#808080";
}

} // namespace

ZyLogsUnit::ZyLogsUnit(QObject *parent)
    : QObject(parent)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    connect(this, &ZyLogsUnit::signalLogToTextBrowser, this, &ZyLogsUnit::onLogToTextBrowser,
            Qt::QueuedConnection);
}

ZyLogsUnit::~ZyLogsUnit()
{
    flush();
    ZyLogs::forget(this);
}

QString ZyLogsUnit::expandVariables(const QString &text)
{
    // Values are copied as they are, so a value holding "%...%" is never expanded again.
    QString result;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf('%', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf('%', open + 1);
        if (close < 0) {
            result += text.mid(pos);
            break;
        }
        result += text.mid(pos, open - pos);
        result += environmentValue(text.mid(open + 1, close - open - 1));
        pos = close + 1;
    }
    return result;
}

void ZyLogsUnit::log(quint8 level, const QString &text)
{
    if (m_forward)
        ZyLogs::log(level, text);

    QMutexLocker locker(&m_lock);
    const QDateTime now = m_clock();
    if (level == m_lastLevel && text == m_lastText && !text.isNull()) {
        ++m_repeats;
        return;
    }
    writeRepeats(now);
    m_lastLevel = level;
    m_lastText = text;
    emitLine(level, now, text);
}

void ZyLogsUnit::flush()
{
    QMutexLocker locker(&m_lock);
    writeRepeats(m_clock());
}

// Called with the lock held.
void ZyLogsUnit::writeRepeats(const QDateTime &now)
{
    if (m_repeats == 0)
        return;
    const qint64 repeats = m_repeats;
    m_repeats = 0;
    emitLine(m_lastLevel, now, QString("%1 (repeated %2 more times)").arg(m_lastText).arg(repeats));
}

// Called with the lock held.
void ZyLogsUnit::emitLine(quint8 level, const QDateTime &now, const QString &text)
{
    const QString line = QString("%1 [%2] %3").arg(now.toString("hh:mm:ss.zzz"), QString::number(level), text);
    if (m_hasView && level <= m_maxLevel)
        emit signalLogToTextBrowser(level, line);
    if (m_toFile)
        writeToFile(now.date(), line);
    if (m_console && level <= m_maxLevel) {
        const QByteArray utf8 = line.toUtf8() + '\n';
        std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
        std::fflush(stdout);
    }
}

QString ZyLogsUnit::filePath(const QDate &date) const
{
    return QString("%1/%2_%3.log").arg(m_folder, date.toString(kDateFormat), m_name);
}

void ZyLogsUnit::writeToFile(const QDate &today, const QString &line)
{
    if (!m_file || m_fileDate != today) {
        openFileFor(today);
        if (m_daysToKeep != 0)
            QFile::remove(filePath(m_fileDate.addDays(-m_daysToKeep)));
    }
    if (!m_file->isOpen())
        return;
    m_file->write(line.toLatin1() + "\r\n");
    m_file->flush();
}

void ZyLogsUnit::openFileFor(const QDate &today)
{
    m_file.reset();
    m_fileDate = today;
    m_file = std::make_unique<QFile>(filePath(today));
    m_file->open(QIODevice::WriteOnly | QIODevice::Append);
}

void ZyLogsUnit::initFile(bool toFile, const QString &folder, const QString &name, quint8 daysToKeep)
{
    QMutexLocker locker(&m_lock);
    m_toFile = toFile;
    m_folder = expandVariables(folder);
    m_name = name;
    m_daysToKeep = daysToKeep;
    if (m_toFile && !QDir(m_folder).exists())
        QDir().mkpath(m_folder);
    m_file.reset();
    if (m_daysToKeep != 0)
        purgeOldFiles(m_clock().date());
}

void ZyLogsUnit::purgeOldFiles(const QDate &today)
{
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern("[0-9]{8}_" + QRegularExpression::escape(m_name) + "\\.log"));
    const QDir dir(m_folder);
    const QStringList names = dir.entryList({"*.log"}, QDir::Files, QDir::Unsorted);
    for (const QString &fileName : names) {
        if (!pattern.match(fileName).hasMatch())
            continue;
        const QDate date = QDate::fromString(fileName.left(8), kDateFormat);
        if (date.isValid() && date.daysTo(today) > m_daysToKeep)
            QFile::remove(dir.filePath(fileName));
    }
}

void ZyLogsUnit::setLevel(quint8 level)
{
    QMutexLocker locker(&m_lock);
    m_maxLevel = level;
}

void ZyLogsUnit::setConsole(bool console)
{
    QMutexLocker locker(&m_lock);
    m_console = console;
}

void ZyLogsUnit::setForward(bool forward)
{
    m_forward = forward;
}

void ZyLogsUnit::setClock(Clock clock)
{
    QMutexLocker locker(&m_lock);
    m_clock = std::move(clock);
}

void ZyLogsUnit::setTextBrowser(QPlainTextEdit *view)
{
    QMutexLocker locker(&m_lock);
    if (m_view)
        m_view->disconnect(this);
    m_view = view;
    m_hasView = view != nullptr;
    if (!view)
        return;
    view->setMaximumBlockCount(m_maxViewRows);
    connect(view, &QObject::destroyed, this, &ZyLogsUnit::onViewDestroyed);
}

void ZyLogsUnit::onViewDestroyed()
{
    QMutexLocker locker(&m_lock);
    m_hasView = false;
}

void ZyLogsUnit::onLogToTextBrowser(quint8 nLevel, const QString &strLog)
{
    if (!m_view)
        return;
    QScrollBar *bar = m_view->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    m_view->appendHtml(QString("<span style='color:%1;'>%2</span>").arg(colourOf(nLevel), strLog.toHtmlEscaped()));
    if (atEnd)
        bar->setValue(bar->maximum());
}
