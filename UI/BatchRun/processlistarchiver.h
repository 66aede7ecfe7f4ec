#ifndef CELVANE_UI_BATCHRUN_PROCESSLISTARCHIVER_H
#define CELVANE_UI_BATCHRUN_PROCESSLISTARCHIVER_H

#include "UI/BatchRun/processdata.h"

#include <QList>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

class QIODevice;

namespace Ui {

/// Writes and reads process lists (".plst"): XML with root Process-List and one Process-Data
/// element per step, whose Parameter elements carry name, type, value and visibility.
class ProcessListArchiver
{
public:
    /// False when the file cannot be opened for writing or the writer reports an error.
    bool saveProcessList(const QString &fileName, const QList<ProcessData> &list);
    /// Appends the steps of the file to list. False, with the reason in getError(), for a file
    /// that cannot be opened, does not start with Process-List, declares a document type, or is
    /// not well-formed XML.
    bool loadProcessList(const QString &fileName, QList<ProcessData> &list);
    /// As loadProcessList(fileName, ...), from an open device.
    bool loadProcessList(QIODevice &device, QList<ProcessData> &list);
    /// The step at the reader's Process-Data start element, up to its end element.
    ProcessData readProcessData();
    /// Why the last save or load failed.
    QString getError() const { return error; }

    /// The text a value is stored as, and its type name, as the file writes them.
    static QString parameterType(const QVariant &value);
    static QString parameterData(const QVariant &value);
    /// The value a stored text stands for; a text that does not convert stays a text, so the
    /// step reports it when it runs.
    static QVariant parameterValue(const QString &type, const QString &data);

private:
    QXmlStreamReader reader;
    QXmlStreamWriter writer;
    QString error;
};

} // namespace Ui

#endif
