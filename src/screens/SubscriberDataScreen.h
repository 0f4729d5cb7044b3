#pragma once

#include <array>

#include "config/SubscriberData.h"
#include "screens/Screen.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

// One subscriber's data, for the DHCP screen (fconDHCP) and the NAPT screen
// (fConNapt): the same fields, checks and save flow; they differ in their title, the
// meaning and first values of the modem fields, and the mode their save accepts.
class SubscriberDataScreen : public Screen {
  Q_OBJECT

 public:
  using Quad = std::array<QLineEdit*, 4>;

  QLineEdit* tTelf = nullptr;
  QRadioButton* oEstandar = nullptr;
  QRadioButton* oClass = nullptr;
  QRadioButton* oPremium = nullptr;
  Quad tuIP{};
  Quad tuMa{};
  Quad tmIP{};
  Quad tmMA{};
  QPushButton* cSalvar = nullptr;
  QPushButton* cVolver = nullptr;

  // The values as they stand now: what a save would write.
  [[nodiscard]] SubscriberData CurrentData() const;

 protected:
  explicit SubscriberDataScreen(DataScreen kind, QWidget* parent = nullptr);
  void ReturnControl() override;

 private:
  void Form_Load();
  void cSalvar_Click();

  DataScreen kind_;
};

class fconDHCP final : public SubscriberDataScreen {
  Q_OBJECT

 public:
  explicit fconDHCP(QWidget* parent = nullptr) : SubscriberDataScreen(DataScreen::Dhcp, parent) {}
};

class fConNapt final : public SubscriberDataScreen {
  Q_OBJECT

 public:
  explicit fConNapt(QWidget* parent = nullptr) : SubscriberDataScreen(DataScreen::Napt, parent) {}
};
