#pragma once

#include <QStringList>

#include <array>

#include "screens/Screen.h"

class AdapterList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

inline constexpr int kPortCount = 16;

// The selector's entry for a port. A port outside Com1 to Com16 (only a hand-edited
// settings file holds one) shows as Com1, and selecting it puts port 1 in force, so
// what the screen shows, what is in force and what a save writes agree.
[[nodiscard]] int PortEntryIndex(int comPort);

// The service settings screen: serial port, EDC network and mask, DNS address, ATM
// circuit and the digit limits of phone numbers, saved to conf_gen.dat.
class fconfserv final : public Screen {
  Q_OBJECT

 public:
  using Quad = std::array<QLineEdit*, 4>;

  explicit fconfserv(QWidget* parent = nullptr);

  // Shows ServiceSettings in the controls.
  void set_defaults();
  // The sixteen box texts in the order of the settings file.
  [[nodiscard]] QStringList FieldTexts() const;

  QComboBox* cboPort = nullptr;
  QLabel* lDispositivo = nullptr;  // the device the selected port opens
  AdapterList* adapters = nullptr;  // the adapters present now, to link to the port
  QLineEdit* cTelMin = nullptr;
  QLineEdit* cTelMax = nullptr;
  QLineEdit* tAtm1 = nullptr;
  QLineEdit* tAtm2 = nullptr;
  Quad teIP{};
  Quad teMa{};
  Quad tdIP{};
  QPushButton* cSalvar = nullptr;
  QPushButton* cVolver = nullptr;

 private:
  void BuildControls();
  void SetTabOrder();
  void Form_Load();
  void cboPort_Click(int index);
  void cSalvar_Click();
  // Runs every box's exit rule; false at the first refusal, with the focus there.
  [[nodiscard]] bool AllBoxesAccepted();
};
