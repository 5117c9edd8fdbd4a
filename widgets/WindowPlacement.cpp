// The window's size and place between runs; see WindowPlacement.h.
#include "widgets/WindowPlacement.h"

#include "utils/Log.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QWidget>

namespace scribvane {
namespace {

// A first line that names the content, then the geometry as Qt writes it, in base64.
constexpr char kHeader[] = "scribvane window 1\n";

} // namespace

bool RestoreWindowPlacement(QWidget& window, const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray text = in.read(4096);
    const QByteArray geometry = text.startsWith(kHeader)
                                    ? QByteArray::fromBase64(text.mid(sizeof kHeader - 1).trimmed())
                                    : QByteArray();
    if (geometry.isEmpty() || !window.restoreGeometry(geometry)) {
        LogNote(LogTopic::Persistence, "window.dat holds no window place that can be used");
        return false;
    }
    return true;
}

void SaveWindowPlacement(const QWidget& window, const QString& file) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(QByteArray(kHeader) + window.saveGeometry().toBase64() + '\n') < 0 ||
        !out.commit()) {
        LogNote(LogTopic::Persistence,
                "The window's place was not kept: " + out.errorString().toStdString());
    }
}

} // namespace scribvane
