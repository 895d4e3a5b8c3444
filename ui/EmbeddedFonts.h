#pragma once

#include <QString>
#include <QStringList>

namespace ui {

// The families compiled into the program: the windows are drawn in the sans-serif one, the
// Dice roll in the bold serif one.
inline const QString sansFamily = QStringLiteral("Liberation Sans");
inline const QString serifFamily = QStringLiteral("Liberation Serif");

// Registers the embedded faces with the font database; later calls do nothing. Raises when a
// face cannot be registered, since every window would then be drawn in whatever the machine
// has.
void registerEmbeddedFonts();

// The families the embedded faces were registered under.
QStringList embeddedFamilies();

} // namespace ui
