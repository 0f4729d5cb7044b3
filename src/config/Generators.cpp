#include "config/Generators.h"

#include "config/DerivedAddresses.h"

ConfigGenerator GeneratorFor(DataScreen screen, std::int16_t model) {
  const bool dhcp = screen == DataScreen::Dhcp;
  switch (model) {
    case kSpeedTouchOffice:
      return dhcp ? GenerateOfficeDhcp : GenerateOfficeNapt;
    case kSpeedTouchPro:
      return dhcp ? GenerateProDhcp : GenerateProNapt;
    case kEfficientSS5660:
      return dhcp ? GenerateEfficientDhcp : GenerateEfficientNapt;
    default:
      return nullptr;
  }
}

QList<Octets> WrittenDerivedAddresses(DataScreen screen, std::int16_t model,
                                      const DerivedAddresses& derived) {
  if (!GeneratorFor(screen, model)) return {};
  QList<Octets> written;
  if (screen == DataScreen::Dhcp) {
    written << derived.AtuRLanAddress << derived.SabaRemoteAddress;
    if (model == kSpeedTouchOffice) written << derived.UserNetwork;
  } else {
    written << derived.SabaLoopbackAddress;
  }
  if (model == kSpeedTouchOffice) written << derived.EdcFirstAddress << derived.EdcLastAddress;
  return written;
}
