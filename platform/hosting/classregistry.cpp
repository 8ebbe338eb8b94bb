#include "classregistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QLoggingCategory>
#include <QPluginLoader>

Q_LOGGING_CATEGORY(lcHosting, "harness.hosting", QtInfoMsg)

namespace hosting
{

ClassRegistry::ClassRegistry() = default;
ClassRegistry::~ClassRegistry() = default;

void ClassRegistry::addBuiltin(const QString &classId, Factory factory)
{
    builtins_.insert(classId, std::move(factory));
}

void ClassRegistry::setPluginFolders(const QStringList &overriding, const QStringList &bundled)
{
    overriding_ = overriding;
    bundled_ = bundled;
}

QStringList ClassRegistry::overridingFoldersFromEnvironment()
{
    QStringList folders;
    const QString path = qEnvironmentVariable("HARNESS_COMPONENT_PATH");
    for (const QString &entry : path.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(entry))
            folders << QDir::cleanPath(entry);
        else
            qCWarning(lcHosting) << "ignoring relative component folder" << entry;
    }
    return folders;
}

QStringList ClassRegistry::bundledFolders()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    // The build tree keeps components beside the programs; an installed tree
    // keeps them under lib/<program family>/components.
    return {appDir + QStringLiteral("/components"),
            QDir::cleanPath(appDir + QStringLiteral("/../lib/balloon-harness/components"))};
}

static bool pluginProvides(const QJsonObject &meta, const QString &classId)
{
    if (meta.value(QStringLiteral("IID")).toString() != QLatin1String(HarnessComponentPlugin_iid))
        return false;
    const QJsonArray classes =
        meta.value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("classes")).toArray();
    for (const QJsonValue &c : classes)
        if (c.toString() == classId) return true;
    return false;
}

QString ClassRegistry::findPlugin(const QStringList &folders, const QString &classId) const
{
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList files = dir.entryList(QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &name : files) {
            const QString file = dir.absoluteFilePath(name);
            if (!QLibrary::isLibrary(file)) continue;
            // Reading the metadata does not load the library.
            if (pluginProvides(QPluginLoader(file).metaData(), classId)) return file;
        }
    }
    return {};
}

Created loadComponent(QPluginLoader &loader, const QString &classId, const component::NamedValues &stored)
{
    const QString file = loader.fileName();
    QObject *instance = loader.instance();
    auto *plugin = qobject_cast<component::ComponentPlugin *>(instance);
    if (!plugin) {
        const QString why =
            instance ? QStringLiteral("it is not a balloon harness component") : loader.errorString();
        return {
            nullptr, file,
            QStringLiteral("Cannot create the control \"%1\": the component file %2 could not be loaded: %3")
                .arg(classId, file, why)};
    }
    QString error;
    component::ObjectRef object;
    try {
        object = plugin->create(classId, stored, &error);
    } catch (const std::exception &e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = QStringLiteral("the component failed");
    }
    if (!object)
        return {nullptr, file,
                QStringLiteral("Cannot create the control \"%1\" from %2: %3")
                    .arg(classId, file, error.isEmpty() ? QStringLiteral("the component refused") : error)};
    qCDebug(lcHosting) << "created" << classId << "from" << file;
    return {object, file, {}};
}

Created ClassRegistry::createFromPlugin(const QString &file, const QString &classId,
                                        const component::NamedValues &stored)
{
    if (pluginCreator_) return pluginCreator_(file, classId, stored);
    auto loader = std::make_unique<QPluginLoader>(file);
    Created created = loadComponent(*loader, classId, stored);
    if (loader->isLoaded()) loaders_.push_back(std::move(loader));
    return created;
}

QString ClassRegistry::pluginFileFor(const QString &classId) const
{
    if (QString file = findPlugin(overriding_, classId); !file.isEmpty()) return file;
    if (builtins_.contains(classId)) return {};
    return findPlugin(bundled_, classId);
}

Created ClassRegistry::create(const QString &classId, const component::NamedValues &stored)
{
    if (const QString file = findPlugin(overriding_, classId); !file.isEmpty())
        return createFromPlugin(file, classId, stored);

    if (auto it = builtins_.constFind(classId); it != builtins_.constEnd()) {
        QString error;
        component::ObjectRef object = (*it)(stored, &error);
        if (!object)
            return {nullptr, QStringLiteral("built-in"),
                    QStringLiteral("Cannot create the control \"%1\": %2").arg(classId, error)};
        return {object, QStringLiteral("built-in"), {}};
    }

    if (const QString file = findPlugin(bundled_, classId); !file.isEmpty())
        return createFromPlugin(file, classId, stored);

    const QStringList searched = overriding_ + bundled_;
    return {
        nullptr,
        {},
        QStringLiteral("Cannot create the control \"%1\": no component provides this class (searched: %2)")
            .arg(classId,
                 searched.isEmpty() ? QStringLiteral("no folders") : searched.join(QStringLiteral(", ")))};
}

} // namespace hosting
