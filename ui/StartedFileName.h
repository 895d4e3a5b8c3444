#pragma once

#include <QString>

namespace ui {

// The file the program was started by, whose folder holds the party file. A first argument
// that names a path stands for itself, made absolute but not resolved: a link to the installed
// executable placed in a party's folder makes that folder the program's own. A bare name (found
// through the search path) or no first argument gives the running executable's file.
QString startedFileName();
QString fileNameStartedBy(const QString& firstArgument);

} // namespace ui
