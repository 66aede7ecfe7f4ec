#include "Util/debuglog.h"

#include <QtGlobal>

#include <cstdio>

namespace Util {

namespace {

void handler(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    const QByteArray line = DebugLog::format(context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

} // namespace

void DebugLog::install()
{
    qInstallMessageHandler(handler);
}

QString DebugLog::belowSourceRoot(const char *file)
{
    QString path = QString::fromLocal8Bit(file ? file : "");
    // A build that names its sources relative to the build folder (a compiler cache may)
    // gives "../Core/..."; the log shows the path below the source root all the same.
    while (path.startsWith(QLatin1String("../")) || path.startsWith(QLatin1String("./")))
        path.remove(0, path.indexOf(QLatin1Char('/')) + 1);
    return path;
}

QString DebugLog::sourcePath(const char *file)
{
    if (!file)
        return QString();
    QString path = belowSourceRoot(file);
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > path.lastIndexOf(QLatin1Char('/')))
        path.truncate(dot);
    return path;
}

QString DebugLog::format(const QMessageLogContext &context, const QString &message)
{
    if (!context.file)
        return message;
    return QStringLiteral("%1:%2 %3: %4")
        .arg(sourcePath(context.file))
        .arg(context.line)
        .arg(QString::fromLatin1(context.function ? context.function : ""), message);
}

} // namespace Util
