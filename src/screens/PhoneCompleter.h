#pragma once

#include <QStringList>

class QCompleter;
class QLineEdit;

// The phone numbers that have a configuration file (Configuraciones/<digits>.cfg),
// the most recently saved first.
[[nodiscard]] QStringList SavedPhoneNumbers();

// Offers the saved numbers that begin with what is typed in the box, newest first.
// Only numbers that fit the box's length limit are offered; choosing one sets the
// box's text, so its own rules judge it as if typed.
QCompleter* AttachPhoneCompleter(QLineEdit* box);
