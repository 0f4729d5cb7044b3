#include "modemsim/Behaviour.h"

#include <array>
#include <utility>

namespace modemsim {
namespace {

const std::array<std::pair<Behaviour, const char*>, 11> kNames = {{
    {Behaviour::Healthy, "healthy"},
    {Behaviour::Silent, "silent"},
    {Behaviour::NoPassword, "no-password"},
    {Behaviour::OtherPassword, "other-password"},
    {Behaviour::NoSure, "no-sure"},
    {Behaviour::SlowCommand, "slow-command"},
    {Behaviour::DeadCommand, "dead-command"},
    {Behaviour::Unplugged, "unplugged"},
    {Behaviour::Noise, "noise"},
    {Behaviour::FixedWord, "fixed-word"},
    {Behaviour::ShortPrompt, "short-prompt"},
}};

}  // namespace

QString BehaviourName(Behaviour behaviour) {
  for (const auto& [value, name] : kNames) {
    if (value == behaviour) return QString::fromLatin1(name);
  }
  return {};
}

bool ParseBehaviour(const QString& name, Behaviour* behaviour) {
  for (const auto& [value, text] : kNames) {
    if (name == QLatin1String(text)) {
      *behaviour = value;
      return true;
    }
  }
  return false;
}

QStringList BehaviourNames() {
  QStringList names;
  for (const auto& entry : kNames) names << QString::fromLatin1(entry.second);
  return names;
}

}  // namespace modemsim
