#pragma once

#include <QList>
#include <QStringList>
#include <cstdint>

#include "config/DerivedAddresses.h"
#include "config/SubscriberData.h"
#include "core/Def_Globales.h"

// One generator per modem model and mode. Each returns the whole configuration file,
// one entry per line without line endings: the header, the marker, the key line, the
// modality word, an empty line and the modem's commands in the order it takes them.
// They check nothing: the data have passed ValidateSubscriberData.
[[nodiscard]] QStringList GenerateEfficientDhcp(const SubscriberData& data,
                                                const ServiceSettingsRecord& settings);
[[nodiscard]] QStringList GenerateEfficientNapt(const SubscriberData& data,
                                                const ServiceSettingsRecord& settings);
[[nodiscard]] QStringList GenerateOfficeDhcp(const SubscriberData& data,
                                             const ServiceSettingsRecord& settings);
[[nodiscard]] QStringList GenerateOfficeNapt(const SubscriberData& data,
                                             const ServiceSettingsRecord& settings);
[[nodiscard]] QStringList GenerateProDhcp(const SubscriberData& data,
                                          const ServiceSettingsRecord& settings);
[[nodiscard]] QStringList GenerateProNapt(const SubscriberData& data,
                                          const ServiceSettingsRecord& settings);

using ConfigGenerator = QStringList (*)(const SubscriberData&, const ServiceSettingsRecord&);

// The generator of a screen's mode for a model; nullptr when the model is none of
// the three.
[[nodiscard]] ConfigGenerator GeneratorFor(DataScreen screen, std::int16_t model);

// The computed addresses that generator writes into the file, so that data giving
// an unwritable one can be refused before anything is saved.
[[nodiscard]] QList<Octets> WrittenDerivedAddresses(DataScreen screen, std::int16_t model,
                                                    const DerivedAddresses& derived);
