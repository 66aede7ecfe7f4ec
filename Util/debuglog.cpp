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

QString DebugLog::sourcePath(const char *file)
{
    if (!file)
        return QString();
    QString path = QString::fromLocal8Bit(file);
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
