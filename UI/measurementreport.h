#ifndef CELVANE_UI_MEASUREMENTREPORT_H
#define CELVANE_UI_MEASUREMENTREPORT_H

#include "Model/Automaton/totalvolume.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

namespace Ui {

/// The measurements of a volume as a JSON file, for sweeps run from the shell: amounts per
/// material, the film stack of one column, the top surface heights and the widths of the
/// openings of chosen materials in chosen layers. The file states its units.
class MeasurementReport
{
public:
    /// An opening-width measurement: a material in a cell layer.
    struct Opening
    {
        quint32 material = 0;
        quint32 layer = 0;
    };

    /// Reads "X,Y" (a column, in cells).
    static bool parseProbe(const QString &text, quint32 *x, quint32 *y, QString *reason);
    /// Reads "MATERIAL@Z": a material name of the catalogue or an id, and a cell layer.
    static bool parseOpening(const QString &text, Opening *opening, QString *reason);

    /// Probes the centre column until told otherwise.
    void setProbe(quint32 x, quint32 y);
    void addOpening(const Opening &opening) { openings.append(opening); }
    /// Recorded in the file so that each result says how it was made.
    void setSource(const QString &processList, const QStringList &overrides);

    /// Measures the volume. False, with the reason, when the probe or a layer lies outside it.
    bool measure(Model::Automaton::TotalVolume &volume, QString *reason);
    QJsonObject getReport() const { return report; }
    /// Writes the report as indented JSON; false with the reason when it cannot.
    bool write(const QString &fileName, QString *reason) const;

private:
    bool probeSet = false;
    quint32 probeX = 0;
    quint32 probeY = 0;
    QList<Opening> openings;
    QString processList;
    QStringList overrides;
    QJsonObject report;
};

} // namespace Ui

#endif
