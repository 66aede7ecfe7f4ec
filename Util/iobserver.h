#ifndef CELVANE_UTIL_IOBSERVER_H
#define CELVANE_UTIL_IOBSERVER_H

#include <QList>
#include <boost/shared_ptr.hpp>

namespace Util {

/// How the model tells the user interface that something changed; the model never calls
/// widgets directly.
class IObserver
{
public:
    virtual ~IObserver() = default;
    virtual void update() = 0;
};

typedef boost::shared_ptr<IObserver> ObserverPtr;
typedef QList<ObserverPtr> ObserverList;

/// Calls update() on each observer in insertion order.
inline void notifyAll(const ObserverList &observers)
{
    // A copy: an observer may register or drop observers while it runs.
    const ObserverList copy = observers;
    for (const ObserverPtr &observer : copy) {
        if (observer)
            observer->update();
    }
}

} // namespace Util

#endif
