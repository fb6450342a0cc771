#pragma once

#include <QString>

namespace dvtest {

// The temporary home every test process runs in (HOME, XDG_CONFIG_HOME,
// XDG_RUNTIME_DIR, XDG_DATA_HOME point inside it). Documents is
// home() + "/Documents" and is NOT created: tests that need it make it.
QString home();
QString documents();

// Writes bytes to a file (parents created); returns the path.
QString writeFile(const QString &path, const QByteArray &bytes);

} // namespace dvtest
