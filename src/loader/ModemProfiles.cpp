#include "loader/ModemProfiles.h"

#include <array>

#include "core/Def_Globales.h"
#include "loader/ProAnswers.h"

namespace {

bool EfficientPrompt(const QByteArray& collected) {
  return collected.contains("Command") || collected.contains("Password");
}

bool OfficePrompt(const QByteArray& collected) { return collected.contains("Login:"); }

const std::array<ModemProfile, 3> kProfiles = {{
    {kSpeedTouchOffice, {9600, 'N', 8, 1}, 50, &OfficePrompt, 10'000, "system admin "},
    // The Pro's prompt must end what came: an older "=>" followed by more output is not
    // the console waiting.
    {kSpeedTouchPro, {9600, 'N', 8, 1}, 80, &IsShortPrompt, 0, "password="},
    {kEfficientSS5660, {38400, 'N', 8, 1}, 50, &EfficientPrompt, 0},
}};

}  // namespace

const ModemProfile* ProfileFor(std::int16_t model) {
  for (const ModemProfile& profile : kProfiles) {
    if (profile.model == model) return &profile;
  }
  return nullptr;
}
