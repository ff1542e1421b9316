#pragma once

#include <QQuickItem>
#include <QQuickWindow>

// Finds a visual item by object name anywhere in a window's item tree,
// including delegates of repeaters and the overlay of popups.
inline QQuickItem *findItem(QQuickItem *from, const QString &name)
{
    if (!from)
        return nullptr;
    if (from->objectName() == name)
        return from;
    for (QQuickItem *child : from->childItems())
        if (QQuickItem *found = findItem(child, name))
            return found;
    return nullptr;
}

inline QQuickItem *findItem(QQuickWindow *window, const QString &name)
{
    return findItem(window->contentItem(), name);
}
