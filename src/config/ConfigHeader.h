#pragma once

#include <QString>
#include <QStringList>

#include "config/DerivedAddresses.h"
#include "config/SubscriberData.h"
#include "core/Def_Globales.h"

// What distinguishes the headers of the six kinds of file.
struct HeaderVariant {
  ConfigMode mode = true;
  QString configurationType;  // line 4, after "Tipo de configuración: "
  QString keyLine;            // the line after the marker, which the loader reads
  // Only the Office writes its LAN subnet, EDC range and traffic figure; the
  // others show "-" in those lines.
  bool writesOfficeFigures = false;
};

inline constexpr const char* kStartMarker = "--Inicio";

// The readable summary, the marker, the key line, the modality word and the empty
// line before the commands: 23 lines for DHCP, 21 for NAPT.
[[nodiscard]] QStringList HeaderLines(const SubscriberData& data,
                                      const ServiceSettingsRecord& settings,
                                      const DerivedAddresses& derived,
                                      const HeaderVariant& variant);
