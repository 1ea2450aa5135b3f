#pragma once

#include <QString>

namespace qv {

// Media paths are composed the way the program has always written them, with
// backslashes, because the settings store keeps the picture folder as
// "\shapes\". This turns the program's folder plus such a relative path into a
// path of this system, at the moment a file is opened. The folder is taken as
// it is; only the relative part's separators change.
QString nativeMediaPath(const QString& programFolder, const QString& relativePath);

}  // namespace qv
