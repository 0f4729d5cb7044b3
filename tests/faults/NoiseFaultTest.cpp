#include <gtest/gtest.h>

#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"

using faults::kPhone;
using testing_support::ShownBox;

namespace {

// A noisy line (NULs, backspaces, bytes of no meaning, line breaks sent as LF CR or
// a bare LF) under every model's whole session: the modem is loaded, what the
// dialogue box and the log hold is clean text with CR LF line breaks only, and the
// log shows no password.
TEST(NoiseFaultTest, EveryModelIsLoadedThroughANoisyLine) {
  for (const std::int16_t model : {kEfficientSS5660, kSpeedTouchOffice, kSpeedTouchPro}) {
    SCOPED_TRACE(loader_testing::ConsoleName(model).toStdString());
    const auto screen = faults::NaptScreen(model, modemsim::Behaviour::Noise);
    screen->Run(kPhone);
    EXPECT_EQ(screen->platform.boxes.shown,
              (QList<ShownBox>{loader_testing::PowerOnBox(), loader_testing::ConfiguredBox()}));
    for (const QByteArray& text : {screen->session->Dialogue().Content(), screen->Log(kPhone)}) {
      EXPECT_FALSE(text.contains('\0'));
      EXPECT_FALSE(text.contains('\b'));
      EXPECT_EQ(text.count('\r'), text.count("\r\n"));
      EXPECT_EQ(text.count('\n'), text.count("\r\n"));
    }
    EXPECT_FALSE(screen->Log(kPhone).contains("tarnimol"));
    EXPECT_TRUE(screen->session->Dialogue().Content().contains("\x81\xfe"));
    faults::ExpectEndedIdle(*screen);
  }
}

}  // namespace
