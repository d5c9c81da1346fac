#include "gui/Resources.h"

#include <QImageReader>
#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace. Calling it also keeps the linker from
// dropping the resource data out of the static library.
static void RegisterCompiledResources() { Q_INIT_RESOURCE(resources); }

namespace vendra {

void LoadResources() {
    static const bool loaded = (RegisterCompiledResources(), true);
    (void)loaded;
}

QPixmap PngPicture(const QString& path) {
    LoadResources();
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace vendra
