#pragma once

#include <QString>
#include <QStringList>

namespace korv::platform {

// The text of a message box as shown: a lone CR, like CR LF, breaks the
// line, as the system's boxes do.
[[nodiscard]] QString MessageBoxText(const QString& text);

// The name filters of a Qt file dialog for a "Description|pattern|..."
// filter. Each filter carries its description as the user sees it and the
// patterns in the last parentheses; "*.*" matches every name, as on
// Windows, also names without a dot.
[[nodiscard]] QStringList QtNameFilters(const QString& filter);

// The descriptions alone, as the dialog shows and reports them.
[[nodiscard]] QStringList FilterDescriptions(const QString& filter);

}  // namespace korv::platform
