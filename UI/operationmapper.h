#ifndef CELVANE_UI_OPERATIONMAPPER_H
#define CELVANE_UI_OPERATIONMAPPER_H

#include <QObject>
#include <QString>

class QAction;
class QSignalMapper;

namespace Ui {

/// Maps triggered actions to a text: an operation id in decimal, or a view name.
class OperationMapper : public QObject
{
    Q_OBJECT

public:
    explicit OperationMapper(QObject *parent = nullptr);

    /// The action emits activated(QString::number(id)) when triggered.
    void addAction(QAction *action, quint32 id);
    /// The action emits activated(text) when triggered.
    void addAction(QAction *action, const QString &text);

Q_SIGNALS:
    void activated(const QString &text);

private:
    QSignalMapper *mapper;
};

} // namespace Ui

#endif
