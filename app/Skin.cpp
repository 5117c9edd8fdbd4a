// Loads the built-in skin from the program's resources.
#include "app/Skin.h"

#include <QFile>

// Resources of a static library must be registered by name, outside any namespace.
static void RegisterSkinResource() {
    Q_INIT_RESOURCE(Skin);
}

namespace scribvane {

QString BuiltInSkin() {
    static const QString skin = [] {
        RegisterSkinResource();
        QFile file(QStringLiteral(":/scribvane/Skin.qss"));
        if (!file.open(QIODevice::ReadOnly)) {
            return QString();
        }
        return QString::fromUtf8(file.readAll());
    }();
    return skin;
}

} // namespace scribvane
