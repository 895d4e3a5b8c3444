#pragma once

#include <QString>

namespace forms {

// The rule effects of a condition, one line each, lines joined by LF CR as the hints carry
// them; the empty text for a name that is no condition. "Surprised" has "Stunned"'s text.
QString conditionHint(const QString& condition);

} // namespace forms
