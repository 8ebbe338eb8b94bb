#include "balloonplugin.h"

#include "ballooncomponent.h"

#include <QApplication>

namespace balloon
{

component::ObjectRef BalloonPlugin::create(const QString &classId, const component::NamedValues &stored,
                                           QString *error)
{
    const QByteArray id = classId.toUtf8();
    const std::optional<component::MethodIds> methods =
        component::methodIdsForClass(std::string_view(id.constData(), size_t(id.size())));
    if (!methods) {
        if (error) *error = QStringLiteral("This component provides no class \"%1\"").arg(classId);
        return nullptr;
    }
    if (!qobject_cast<QApplication *>(QCoreApplication::instance())) {
        if (error) *error = QStringLiteral("The balloon component needs a widget application");
        return nullptr;
    }
    return std::make_shared<BalloonComponent>(*methods, stored);
}

} // namespace balloon
