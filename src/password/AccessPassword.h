#pragma once

#include <QString>

// claves.dat: the modems' access password, one line in the application directory.
// It must be typed into modems, so it is kept as typed (not hashed); the file is
// readable and writable by its owner only.

inline constexpr const char* kPasswordFileName = "claves.dat";

[[nodiscard]] QString PasswordFilePath();

// Exact comparison, letter case included: the confirmation is there to catch a
// mistyped password, and a case-blind one would let a Caps Lock slip through.
[[nodiscard]] bool PasswordsMatch(const QString& password, const QString& confirmation);

// Replaces claves.dat atomically with the password as its one line. Reports a failure
// itself (the platform's description, exclamation, the application's title).
[[nodiscard]] bool SaveAccessPassword(const QString& password);

// Puts the stored password in force: the file's first line, or the default password
// when there is no file. A file that cannot be read leaves the password unchanged.
void LoadAccessPassword();
