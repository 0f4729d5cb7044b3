#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// The user guide on F1, in any window of the program, in the desktop's viewer.

// Where the guide may be, best first: beside the executable (a build or a portable
// folder), then where the package or `cmake --install` put it.
[[nodiscard]] QStringList UserGuideCandidates();
// The first candidate that exists; empty when none does.
[[nodiscard]] QString FindUserGuide(const QStringList& candidates);

// The seams of F1, which tests replace: where the guide is looked for
// (UserGuideCandidates), and what opens a URL in the desktop's viewer
// (QDesktopServices).
QStringList& GuideCandidates();
std::function<bool(const QUrl&)>& UrlOpener();

// Opens the guide, or says in a message box where it should have been.
void OpenUserGuide();

// F1 opens the guide from every window, message boxes included. Safe to call again.
void InstallHelpKey();

inline constexpr const char* kGuideTitle = "Guía de uso";
