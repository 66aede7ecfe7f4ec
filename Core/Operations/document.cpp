#include "Core/Operations/document.h"

#include <QMutexLocker>

namespace Core {
namespace Operations {

Document::Document() : modified(false)
{
    clear();
}

void Document::addObject(const ObjectPtr &object)
{
    {
        QMutexLocker locker(&layersMutex);
        currentLayer->addObject(object);
    }
    setModified(true);
}

bool Document::removeObject(const ObjectPtr &object)
{
    QMutexLocker locker(&layersMutex);
    bool removed = false;
    for (const LayerPtr &layer : layers)
        removed = layer->removeObject(object) || removed;
    locker.unlock();
    if (removed)
        setModified(true);
    return removed;
}

QList<Document::ObjectPtr> Document::getObjects() const
{
    QMutexLocker locker(&layersMutex);
    QList<ObjectPtr> objects;
    for (const LayerPtr &layer : layers)
        objects += layer->getObjects();
    return objects;
}

bool Document::contains(const ObjectPtr &object) const
{
    QMutexLocker locker(&layersMutex);
    for (const LayerPtr &layer : layers) {
        if (layer->getObjects().contains(object))
            return true;
    }
    return false;
}

Document::ObjectPtr Document::findObject(quint32 id) const
{
    QMutexLocker locker(&layersMutex);
    for (const LayerPtr &layer : layers) {
        bool found = false;
        ObjectPtr object = layer->findObject(id, &found);
        if (found)
            return object;
    }
    return ObjectPtr();
}

void Document::draw(bool a, bool b) const
{
    // Drawing goes through copies of the layer lists: a painter must not hold the mutex
    // while it waits for a cell lock held by a process.
    QList<LayerPtr> copy;
    {
        QMutexLocker locker(&layersMutex);
        copy = layers;
    }
    for (const LayerPtr &layer : copy)
        layer->draw(a, b);
}

void Document::drawForPicking() const
{
    QList<LayerPtr> copy;
    {
        QMutexLocker locker(&layersMutex);
        copy = layers;
    }
    for (const LayerPtr &layer : copy)
        layer->drawForPicking();
}

QString Document::getFileName() const
{
    QMutexLocker locker(&fileNameMutex);
    return fileName;
}

void Document::setFileName(const QString &name)
{
    QMutexLocker locker(&fileNameMutex);
    fileName = name;
}

void Document::clear()
{
    {
        QMutexLocker locker(&layersMutex);
        layers.clear();
        currentLayer.reset(new Model::Layer());
        layers.append(currentLayer);
    }
    setFileName(QString());
    setModified(false);
}

bool Document::isModified() const
{
    QMutexLocker locker(&fileNameMutex);
    return modified;
}

void Document::setModified(bool value)
{
    QMutexLocker locker(&fileNameMutex);
    modified = value;
}

} // namespace Operations
} // namespace Core
