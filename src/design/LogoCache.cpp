#include "design/LogoCache.h"

#include <QFile>

LogoCache::LogoCache(QString folder, QObject *parent) : QObject(parent), m_folder(std::move(folder))
{
}

QSvgRenderer *LogoCache::logo(const QString &file)
{
    if (file.isEmpty())
        return nullptr;
    auto found = m_logos.constFind(file);
    if (found == m_logos.constEnd()) {
        ++m_loads;
        const QString path = m_folder + u'/' + file + u".svg";
        std::shared_ptr<QSvgRenderer> renderer;
        if (QFile::exists(path))
            renderer = std::make_shared<QSvgRenderer>(path);
        if (renderer && !renderer->isValid())
            renderer.reset();
        found = m_logos.insert(file, renderer);
    }
    return found->get();
}
