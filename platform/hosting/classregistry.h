// Creates hosted controls from their class identifiers.
//
// A class is provided either by a factory compiled into the program or by a
// component plugin (see component/component.h). Plugins are searched in the
// folders of HARNESS_COMPONENT_PATH first, so a third-party component can
// replace any class, then the built-in factories, then components/ beside the
// executable. Relative folders are ignored: nothing is ever loaded from the
// working directory.
#pragma once

#include "component/component.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QPluginLoader;

namespace hosting
{

using Factory = std::function<component::ObjectRef(const component::NamedValues &stored, QString *error)>;
struct Created;
// Makes an instance of a class a component file provides: by default loads
// the file into this process; the harness may run it in a host process.
using PluginCreator =
    std::function<Created(const QString &file, const QString &classId, const component::NamedValues &stored)>;

struct Created {
    component::ObjectRef object; // null on failure
    QString origin;              // "built-in", or the plugin file
    QString error;               // what failed, naming the class and the file
};

class ClassRegistry
{
  public:
    ClassRegistry();
    ~ClassRegistry();
    ClassRegistry(const ClassRegistry &) = delete;
    ClassRegistry &operator=(const ClassRegistry &) = delete;

    void addBuiltin(const QString &classId, Factory factory);

    // Plugin folders searched before the built-ins, and after them.
    void setPluginFolders(const QStringList &overriding, const QStringList &bundled);

    // HARNESS_COMPONENT_PATH's absolute folders, and <executable dir>/components.
    static QStringList overridingFoldersFromEnvironment();
    static QStringList bundledFolders();

    Created create(const QString &classId, const component::NamedValues &stored);

    void setPluginCreator(PluginCreator creator) { pluginCreator_ = std::move(creator); }
    // The component file that provides classId, searched as create() does;
    // empty when a built-in class or nothing provides it.
    QString pluginFileFor(const QString &classId) const;

  private:
    Created createFromPlugin(const QString &file, const QString &classId,
                             const component::NamedValues &stored);
    QString findPlugin(const QStringList &folders, const QString &classId) const;

    PluginCreator pluginCreator_;
    QHash<QString, Factory> builtins_;
    QStringList overriding_;
    QStringList bundled_;
    // Loaded plugins stay loaded: the objects they made live in their code.
    std::vector<std::unique_ptr<QPluginLoader>> loaders_;
};

// Loads a component file with loader and creates an instance of classId.
// The loader must outlive the object.
Created loadComponent(QPluginLoader &loader, const QString &classId, const component::NamedValues &stored);

} // namespace hosting
