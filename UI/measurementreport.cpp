#include "UI/measurementreport.h"

#include "Model/Automaton/volumemetrology.h"
#include "Model/Materials/materialfactory.h"
#include "Util/safesave.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QSaveFile>

namespace Ui {

namespace {

using Model::Automaton::TotalVolume;
using Model::Automaton::VolumeMetrology;

QString materialName(quint32 id)
{
    // The empty material (id 0) also names ids the catalogue does not hold.
    const Model::Materials::Material material =
        Model::Materials::MaterialFactory::instance()->getMaterial(id);
    return id == 0 || material.getId() == id ? material.getName() : QStringLiteral("Unknown");
}

QJsonArray triple(double x, double y, double z)
{
    return QJsonArray{x, y, z};
}

QJsonObject openingFigures(const VolumeMetrology::Openings &o)
{
    QJsonObject figures{{QStringLiteral("count"), double(o.count)}};
    // No opening has no width: null rather than a width of 0.
    const QJsonValue none(QJsonValue::Null);
    figures.insert(QStringLiteral("min"), o.count ? QJsonValue(o.minimum) : none);
    figures.insert(QStringLiteral("max"), o.count ? QJsonValue(o.maximum) : none);
    figures.insert(QStringLiteral("mean"), o.count ? QJsonValue(o.mean) : none);
    figures.insert(QStringLiteral("minCells"), o.count ? QJsonValue(double(o.minimumCells)) : none);
    figures.insert(QStringLiteral("maxCells"), o.count ? QJsonValue(double(o.maximumCells)) : none);
    return figures;
}

bool readCount(const QString &text, quint32 *value)
{
    bool ok = false;
    *value = text.trimmed().toUInt(&ok);
    return ok;
}

} // namespace

bool MeasurementReport::parseProbe(const QString &text, quint32 *x, quint32 *y, QString *reason)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() == 2 && readCount(parts.at(0), x) && readCount(parts.at(1), y))
        return true;
    *reason = QStringLiteral("--probe needs a column X,Y in cells, not \"%1\"").arg(text);
    return false;
}

bool MeasurementReport::parseOpening(const QString &text, Opening *opening, QString *reason)
{
    const int at = text.lastIndexOf(QLatin1Char('@'));
    const QString material = at > 0 ? text.left(at).trimmed() : QString();
    if (material.isEmpty() || !readCount(text.mid(at + 1), &opening->layer)) {
        *reason = QStringLiteral("--cd needs MATERIAL@Z (a material name or id and a cell "
                                 "layer), not \"%1\"")
                      .arg(text);
        return false;
    }
    if (readCount(material, &opening->material))
        return true;
    const auto catalogue = Model::Materials::MaterialFactory::instance()->getMaterials();
    for (const Model::Materials::Material &m : catalogue)
        if (m.getName() == material) {
            opening->material = m.getId();
            return true;
        }
    QStringList names;
    for (const Model::Materials::Material &m : catalogue)
        names.append(QLatin1Char('"') + m.getName() + QLatin1Char('"'));
    *reason = QStringLiteral("--cd: no material is named \"%1\"; the catalogue holds %2")
                  .arg(material, names.join(QStringLiteral(", ")));
    return false;
}

void MeasurementReport::setProbe(quint32 x, quint32 y)
{
    probeSet = true;
    probeX = x;
    probeY = y;
}

void MeasurementReport::setSource(const QString &list, const QStringList &sets)
{
    processList = list;
    overrides = sets;
}

bool MeasurementReport::measure(TotalVolume &volume, QString *reason)
{
    const quint32 x = probeSet ? probeX : volume.getCellsX() / 2;
    const quint32 y = probeSet ? probeY : volume.getCellsY() / 2;
    if (x >= volume.getCellsX() || y >= volume.getCellsY()) {
        *reason = QStringLiteral("--probe %1,%2 lies outside the volume of %3 x %4 columns")
                      .arg(x)
                      .arg(y)
                      .arg(volume.getCellsX())
                      .arg(volume.getCellsY());
        return false;
    }
    for (const Opening &o : openings)
        if (o.layer >= volume.getCellsZ()) {
            *reason = QStringLiteral("--cd: layer %1 lies outside the volume (layers 0 to %2)")
                          .arg(o.layer)
                          .arg(volume.getCellsZ() - 1);
            return false;
        }

    VolumeMetrology metrology(volume);
    report = QJsonObject();
    report.insert(QStringLiteral("units"),
                  QJsonObject{{QStringLiteral("length"),
                               QStringLiteral("world units: a cell is cellSize long")},
                              {QStringLiteral("volume"), QStringLiteral("cubic world units")},
                              {QStringLiteral("height"),
                               QStringLiteral("world units above the bottom face of the volume")},
                              {QStringLiteral("cells"), QStringLiteral("cell counts and indices, "
                                                                       "from 0")}});
    report.insert(QStringLiteral("processList"), processList);
    QJsonArray sets;
    for (const QString &set : overrides)
        sets.append(set);
    report.insert(QStringLiteral("overrides"), sets);
    report.insert(
        QStringLiteral("volume"),
        QJsonObject{
            {QStringLiteral("cells"),
             QJsonArray{double(volume.getCellsX()), double(volume.getCellsY()),
                        double(volume.getCellsZ())}},
            {QStringLiteral("cellSize"),
             triple(volume.getCellSizeX(), volume.getCellSizeY(), volume.getCellSizeZ())},
            {QStringLiteral("position"),
             triple(volume.getPosition().x, volume.getPosition().y, volume.getPosition().z)}});

    QJsonArray materials;
    for (const VolumeMetrology::MaterialAmount &a : metrology.materialAmounts())
        materials.append(QJsonObject{{QStringLiteral("id"), double(a.material)},
                                     {QStringLiteral("name"), materialName(a.material)},
                                     {QStringLiteral("cells"), double(a.cells)},
                                     {QStringLiteral("volume"), a.volume}});
    report.insert(QStringLiteral("materials"), materials);

    // One entry per material of the column, bottom up by its lowest range.
    QList<quint32> order;
    QMap<quint32, QJsonArray> ranges;
    QMap<quint32, double> thickness;
    for (const VolumeMetrology::Range &r : metrology.column(x, y)) {
        if (!order.contains(r.material))
            order.append(r.material);
        ranges[r.material].append(QJsonObject{{QStringLiteral("bottom"), r.bottom},
                                              {QStringLiteral("top"), r.top},
                                              {QStringLiteral("firstCell"), double(r.firstCell)},
                                              {QStringLiteral("endCell"), double(r.endCell)}});
        thickness[r.material] += r.top - r.bottom;
    }
    QJsonArray films;
    for (quint32 id : order)
        films.append(QJsonObject{{QStringLiteral("id"), double(id)},
                                 {QStringLiteral("name"), materialName(id)},
                                 {QStringLiteral("thickness"), thickness.value(id)},
                                 {QStringLiteral("ranges"), ranges.value(id)}});
    report.insert(QStringLiteral("probe"), QJsonObject{{QStringLiteral("x"), double(x)},
                                                       {QStringLiteral("y"), double(y)},
                                                       {QStringLiteral("films"), films}});

    const VolumeMetrology::SurfaceStatistics top = metrology.topSurface();
    report.insert(QStringLiteral("topSurface"), QJsonObject{{QStringLiteral("min"), top.minimum},
                                                            {QStringLiteral("max"), top.maximum},
                                                            {QStringLiteral("mean"), top.mean}});

    QJsonArray widths;
    const double layerHeight = volume.getCellSizeZ();
    for (const Opening &o : openings)
        widths.append(QJsonObject{
            {QStringLiteral("id"), double(o.material)},
            {QStringLiteral("name"), materialName(o.material)},
            {QStringLiteral("layer"), double(o.layer)},
            {QStringLiteral("bottom"), double(o.layer) * layerHeight},
            {QStringLiteral("top"), double(o.layer + 1) * layerHeight},
            {QStringLiteral("x"), openingFigures(metrology.openingsAlongX(o.material, o.layer))},
            {QStringLiteral("y"), openingFigures(metrology.openingsAlongY(o.material, o.layer))}});
    report.insert(QStringLiteral("openings"), widths);
    return true;
}

bool MeasurementReport::write(const QString &fileName, QString *reason) const
{
    // Written whole or not at all: a sweep never collects half a file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = file.errorString();
        return false;
    }
    const bool written = file.write(QJsonDocument(report).toJson(QJsonDocument::Indented)) >= 0;
    return Util::SafeSave::commit(file, written, reason);
}

} // namespace Ui
